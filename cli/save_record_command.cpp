// velorinctl save-record: "Save Config to EVM", the block's settings as a record in the board
// EEPROM.
#include <memory>
#include <string>

#include "cli/board_arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "core/device/block_record.h"

namespace velorin::cli {

namespace {

struct SaveRecordOptions {
    std::string block;
    std::string image;
    std::string outputEnable;
    std::string terminate;
};

}  // namespace

void AddSaveRecordCommand(CLI::App &app, Context &context) {
    auto options = std::make_shared<SaveRecordOptions>();
    auto *command = AddBlockImageCommand(app, "save-record",
                                         "Store image, output enable, termination and block at "
                                         "0xA010 of the board EEPROM, with its check byte",
                                         options->block, options->image);
    AddCheckBoxOption(command, "--output-enable", options->outputEnable);
    AddCheckBoxOption(command, "--terminate", options->terminate);
    command->callback([&context, options] {
        WithOpenBoard(context, [&](core::Board &board) {
            const int block = *ParseBlock(options->block);
            const core::BlockRecord record =
                core::MakeBlockRecord(*ParseImage(options->image), options->outputEnable == "1",
                                      options->terminate == "1", block);
            FinishSequence(context, core::SaveBlockRecord(board, record), "save-record");
        });
    });
}

}  // namespace velorin::cli
