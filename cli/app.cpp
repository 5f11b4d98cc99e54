#include "cli/app.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "cli/commands.h"
#include "cli/context.h"
#include "velorin_version.h"

namespace velorin::cli {

int RunVelorinCtl(int argc, const char *const *argv, std::ostream &out, std::ostream &err) {
    TerminalIo terminal;
    if (::isatty(STDIN_FILENO) != 0) terminal.input = &std::cin;
    terminal.outputIsTerminal = ::isatty(STDOUT_FILENO) != 0;
    return RunVelorinCtl(argc, argv, out, err, terminal);
}

int RunVelorinCtl(int argc, const char *const *argv, std::ostream &out, std::ostream &err,
                  const TerminalIo &terminal) {
    Context context{out, err, {}, false, 0, terminal};
    CLI::App app{"Command-line control of the clock-generator evaluation board", "velorinctl"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("velorinctl ") + VELORIN_PACKAGE_VERSION);
    app.add_option("--device-dir", context.deviceDir, "Directory where board endpoints are found");
    app.add_flag("--trace", context.trace, "Print every board call on standard error");

    AddStatusCommand(app, context);
    AddPlanCommand(app, context);
    AddImageCommand(app, context);
    AddReadBackDecodeCommand(app, context);
    AddConfigCommand(app, context);
    AddLoopFilterCommand(app, context);
    AddPortCommands(app, context);
    AddWriteRamCommand(app, context);
    AddEepromCommand(app, context);
    AddChipCommands(app, context);
    AddSaveRecordCommand(app, context);
    AddXtalCommand(app, context);
    AddFirmwareCommand(app, context);
    AddUsbCommand(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForVersion &e) {
        out << e.what() << "\n";
        return 0;
    } catch (const CLI::CallForAllHelp &) {
        out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError &e) {
        // Help for a subcommand arrives as CallForHelp from inside it as well.
        if (e.get_exit_code() == 0) {
            out << e.what();
            return 0;
        }
        err << "velorinctl: " << e.what() << "\n";
        err << "Run with --help for more information.\n";
        return 2;
    } catch (const std::exception &e) {
        err << "velorinctl: " << e.what() << "\n";
        return 1;
    }
    return context.exitCode;
}

}  // namespace velorin::cli
