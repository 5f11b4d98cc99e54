// Registering a driver package: on Linux a udev rules file copied into the rules directory.
#pragma once

#include <string>

namespace velorin::board {

// The folder "Driver" under `directory`, and a package file in it.
std::string DriverFolder(const std::string &directory);
std::string PackagePath(const std::string &directory, const std::string &fileName);

// $VELORIN_UDEV_RULES_DIR, else /etc/udev/rules.d.
std::string RulesDirectory();

// Copies the package atomically into the rules directory and asks udev to reload.
// Returns 0 on success, else the errno of the step that failed.
int RegisterPackage(const std::string &directory, const std::string &fileName);

bool IsPackageRegistered(const std::string &fileName);

}  // namespace velorin::board
