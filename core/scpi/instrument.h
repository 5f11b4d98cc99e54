// The evaluation board as a SCPI instrument. The instrument's state is the board's: one
// register image per block, each at first as after the main view's initial update, the input
// frequency and the calibration flag. Every setting runs through the main view's own rules
// (one MainViewModel per block over that block's image), so the board requests are exactly
// the main view's. Clients' commands run one at a time, each client with its own block and
// status model.
#pragma once

#include <array>
#include <memory>
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

// What all blocks share.
struct SharedSettings {
    std::string inputText;  // MHz as "%0.3f"; empty until one is set
    bool vcoCalibrationOn = true;
    bool powerOn = true;
};

class Instrument {
  public:
    Instrument(core::Board &board, Sleeper &sleeper, std::string version);
    ~Instrument();
    Instrument(const Instrument &) = delete;
    Instrument &operator=(const Instrument &) = delete;

    // Opens the board, as the program does at start, and runs the main view's initial update
    // (which switches the board's power on). Without a board the power is switched when one is
    // first opened.
    void Start();

    // One program message (a line without its end) from the client; the answers of its
    // queries joined by ';', empty when it asked nothing (or every query failed).
    std::string Execute(ClientSession &client, std::string_view line);

    // The parts the command handlers work with.
    MainViewModel &Model(int block);
    RegisterImage &Image(int block) { return images_[static_cast<size_t>(block)]; }
    CheckedBoard &Hardware() { return checked_; }
    BoardServices Services() { return BoardServices{checked_, prompts_, sleeper_}; }
    SharedSettings &Shared() { return shared_; }
    const BoardLink &Link() const { return link_; }
    bool IsFourBlockBoard() const;
    const std::string &Version() const { return version_; }
    // *RST: images, view states and shared settings as after Start; nothing is written.
    void Reset();

  private:
    struct Snapshot {
        std::array<RegisterImage, kBlockCount> images;
        std::array<MainViewState, kBlockCount> states;
        SharedSettings shared;
    };
    Snapshot Take();
    void Restore(const Snapshot &snapshot);
    // The board-kind and shared settings into the block's view before a command, and back.
    void SyncIn(int block);
    void SyncOut(int block);
    // Reopens a lost board; the first board ever opened gets the start-up power switch.
    void ReconnectIfLost();
    void RunUnit(ClientSession &client, std::string_view text, std::string &answers);

    CheckedBoard checked_;
    Sleeper &sleeper_;
    InstrumentPrompts prompts_;
    std::string version_;
    BoardLink link_{checked_};
    bool powerPending_ = false;
    std::array<RegisterImage, kBlockCount> images_;
    std::array<std::unique_ptr<MainViewModel>, kBlockCount> models_;
    SharedSettings shared_;
    Snapshot startUp_;
};

}  // namespace velorin::core::scpi
