// The pauses between chip commands. The program really sleeps; tests record the waits.
#pragma once

namespace velorin::core {

class Sleeper {
  public:
    virtual ~Sleeper() = default;
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace velorin::core
