#pragma once
// Millisecond tick count, sleeping, and the local time for the log.
#include <cstdint>
#include <string>

namespace netvane {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t TickCount() = 0;  // wraps like GetTickCount
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // The local date and time as "YYYY-MM-DD hh:mm:ss".
  virtual std::string LocalTimeText() = 0;
};

}  // namespace netvane
