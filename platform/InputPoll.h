#pragma once
// The input poll: is input waiting, and hand every pending message to its handler.
namespace netvane {

class InputPoll {
 public:
  virtual ~InputPoll() = default;
  virtual bool InputWaiting() = 0;    // GetInputState
  virtual void DispatchPending() = 0;  // every pending message, then return
};

}  // namespace netvane
