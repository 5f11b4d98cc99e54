// A Sleeper that blocks the calling thread for the whole pause.
#pragma once

#include "core/base/sleeper.h"

namespace velorin::core {

class ThreadSleeper : public Sleeper {
  public:
    void Sleep(int milliseconds) override;
};

}  // namespace velorin::core
