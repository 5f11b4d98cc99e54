// Registering a driver package: on Linux a udev rules file copied into the rules directory.
#pragma once

#include <string>
#include <vector>

namespace velorin::board {

// The folder "Driver" under `directory`, and a package file in it.
std::string DriverFolder(const std::string &directory);
std::string PackagePath(const std::string &directory, const std::string &fileName);

// $VELORIN_UDEV_RULES_DIR, else /etc/udev/rules.d.
std::string RulesDirectory();

// Where the system's packages install udev rules: $VELORIN_SYSTEM_UDEV_RULES_DIR, else
// /lib/udev/rules.d and /usr/lib/udev/rules.d.
std::vector<std::string> SystemRulesDirectories();

// Copies the package atomically into the rules directory and asks udev to reload. A package
// already installed with the same content, there or in a system rules directory, succeeds
// without writing. Returns 0 on success, else the errno of the step that failed.
int RegisterPackage(const std::string &directory, const std::string &fileName);

// Whether the package is installed in the rules directory or a system rules directory.
bool IsPackageRegistered(const std::string &fileName);

}  // namespace velorin::board
