// Velorin_ForceInstall, Velorin_Install_qv_driver and Velorin_Install.
#include <new>
#include <string>

#include "driver_package.h"
#include "messages.h"
#include "velorin.h"

using namespace velorin::board;

namespace {

constexpr const char *kMainPackage = "QvVelorin.rules";
constexpr const char *kBootPackage = "BootPrep.rules";
constexpr const char *kErrorCaption = "Driver Install Error!";

void ShowInstallError(int error) {
    ShowMessage("Error installing Driver!\nError " + std::to_string(error), kErrorCaption,
                MessageKind::Error);
}

}  // namespace

extern "C" int Velorin_ForceInstall(const char *directory) {
    try {
        int error = RegisterPackage(directory != nullptr ? directory : "", kMainPackage);
        if (error == 0) return 0;
        ShowInstallError(error);
    } catch (const std::bad_alloc &) {
        ShowInstallError(12);  // ENOMEM
    }
    return 1;
}

extern "C" int Velorin_Install_qv_driver(const char *directory) {
    try {
        int error = RegisterPackage(directory != nullptr ? directory : "", kBootPackage);
        if (error != 0) {
            ShowInstallError(error);
            return 1;
        }
        ShowMessage(
            "Please RESET or Disconnect and Re-Connect the USB cable to the EVAL Board!\n\n"
            "After a successfull USB Connection (green USB LED) Download the Firmware to the "
            "EVM\ngo to the menu option Tool->Download Firmware To EVM",
            "Driver Install", MessageKind::Information);
        return 0;
    } catch (const std::bad_alloc &) {
        ShowInstallError(12);  // ENOMEM
        return 1;
    }
}

extern "C" int Velorin_Install(const char *directory) {
    try {
        if (!IsPackageRegistered(kMainPackage)) {
            // Like the first installation on a new machine: the outcome is not reported.
            (void)RegisterPackage(directory != nullptr ? directory : "", kMainPackage);
        }
        return 0;
    } catch (const std::bad_alloc &) {
        return 1;
    }
}
