#pragma once
// Millisecond tick count and sleeping.
#include <cstdint>

namespace netvane {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t TickCount() = 0;  // wraps like GetTickCount
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace netvane
