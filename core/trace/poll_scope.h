// Marks the board calls of the main view's half-second poll, so that the traffic window can
// hide them: the poll's caller holds a PollScope while it runs.
#pragma once

namespace velorin::core {

class PollScope {
  public:
    PollScope();
    ~PollScope();
    PollScope(const PollScope &) = delete;
    PollScope &operator=(const PollScope &) = delete;

    // True while a PollScope is held on this thread.
    static bool Active();

  private:
    bool outer_;
};

}  // namespace velorin::core
