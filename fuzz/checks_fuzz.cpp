// ConvertBase and the address and number checks over any text.
#include <fuzzer/FuzzedDataProvider.h>

#include "apply/AdapterApply.h"
#include "config/MachineIdentity.h"
#include "quicksetup/QuickSetup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace netvane;
  FuzzedDataProvider in(data, size);
  const int from = in.ConsumeIntegralInRange(-1, 40);
  const int to = in.ConsumeIntegralInRange(-1, 40);
  const bool addTen = in.ConsumeBool();
  const std::string text = in.ConsumeRemainingBytesAsString();

  const std::string converted = ConvertBase(text, from, to);
  // The value is kept modulo 2^32 whatever the path: base 2 in between changes nothing.
  if (from != to && from >= 2 && from <= 36 && to >= 2 && to <= 36 &&
      ConvertBase(ConvertBase(text, from, 2), 2, to) != converted) {
    __builtin_trap();
  }
  if (IsHexNetworkNumber(text) && ConvertBase(ConvertBase(text, 16, 10), 10, 16).size() > 8) {
    __builtin_trap();
  }
  if (IsDottedQuad(text) && text.size() > 15) __builtin_trap();
  if (const auto host = HostNumber(text, addTen); host && *host > 999999999u + 10u) {
    __builtin_trap();
  }
  IsValidComputerName(text);
  IsSafeDeviceId(text);
  return 0;
}
