// The evaluation board as a SCPI instrument. The instrument's state is the board's: one
// register image per block, each at first as after the main view's initial update, the input
// frequency and the calibration flag. Every setting runs through the main view's own rules
// (one MainViewModel per block over that block's image), so the board requests are exactly
// the main view's. A client's program message runs one unit at a time (Begin, then Step until
// it is done), so that a server can let other clients' units run in between; each client has
// its own block and status model.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/sleeper.h"
#include "core/device/board.h"
#include "core/device/board_link.h"
#include "core/device/register_image.h"
#include "core/device/sequence_messages.h"
#include "core/planning/main_view_model.h"
#include "core/scpi/checked_board.h"
#include "core/scpi/client_session.h"
#include "core/scpi/instrument_prompts.h"

namespace velorin::core::scpi {

struct InstrumentOptions {
    // EEPROM programming and locking and the crystal record survive a power cycle; without
    // this the commands that change them are refused (-203).
    bool eepromWritesAllowed = false;
};

class Instrument {
  public:
    // What the answers of one program message may come to; past that the rest of the message
    // is not run and nothing is sent for it (-223).
    static constexpr size_t kMaxAnswerBytes = size_t{1024} * 1024;

    Instrument(core::Board &board, Sleeper &sleeper, std::string version,
               InstrumentOptions options = {});
    ~Instrument();
    Instrument(const Instrument &) = delete;
    Instrument &operator=(const Instrument &) = delete;

    // Opens the board, as the program does at start, and runs the main view's initial update
    // (which switches the board's power on). Without a board the power is switched when one is
    // first opened.
    void Start();

    // Starts a program message (a line without its end); it replaces one still running.
    void Begin(ClientSession &client, std::string_view line);
    // Runs the next unit of the client's message. When that was the last one, the answers of
    // its queries joined by ';' (empty when there is nothing to send); nothing while units
    // remain.
    std::optional<std::string> Step(ClientSession &client);
    // The client is gone: the units it had left are dropped.
    static void Abandon(ClientSession &client);
    // Begin and every Step at once.
    std::string Execute(ClientSession &client, std::string_view line);

    // The parts the command handlers work with.
    MainViewModel &Model(int block);
    RegisterImage &Image(int block) { return images_[static_cast<size_t>(block)]; }
    CheckedBoard &Hardware() { return checked_; }
    BoardServices Services() { return BoardServices{checked_, prompts_, sleeper_}; }
    BoardLink &Link() { return link_; }
    const BoardLink &Link() const { return link_; }
    bool IsFourBlockBoard() const;
    int BlockCount() const { return IsFourBlockBoard() ? 4 : 3; }
    const std::string &Version() const { return version_; }
    const InstrumentOptions &Options() const { return options_; }

    // The settings every block shares, written into every block's view.
    void ShareInput(const std::string &inputText);
    void ShareCalibration(bool on);
    void SharePower(bool on);
    // After a block's view changed a shared setting itself (a plan's Apply sets the input).
    void ShareFrom(int block);

    // *RST: images, view states and the calibration flag as after Start, written to the
    // board's chips and ports; every client's block goes back to A. False when a board call
    // failed.
    bool Reset();

    // The client's QUEStionable condition as the board and its block's settings are now.
    uint16_t QuestionableCondition(const ClientSession &client);

  private:
    struct Snapshot {
        std::array<RegisterImage, kBlockCount> images;
        std::array<MainViewState, kBlockCount> states;
    };
    Snapshot Take();
    void Restore(const Snapshot &snapshot);
    // Reopens a lost board; the first board ever opened gets the start-up power switch.
    void ReconnectIfLost();
    void ShareIdentity();
    void RunUnit(ClientSession &client, std::string_view text);

    CheckedBoard checked_;
    Sleeper &sleeper_;
    InstrumentPrompts prompts_;
    std::string version_;
    InstrumentOptions options_;
    BoardLink link_{checked_};
    bool powerPending_ = false;
    std::array<RegisterImage, kBlockCount> images_;
    std::array<std::unique_ptr<MainViewModel>, kBlockCount> models_;
    Snapshot startUp_;
    // Counts resets, so that each client notices one at its next unit.
    unsigned resets_ = 0;
};

}  // namespace velorin::core::scpi
