// The ipset.ini load from any file bytes, then the café action from a machine number.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/Machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace netvane;
  FuzzedDataProvider in(data, size);
  fuzzing::FuzzMachine m;
  const bool present = in.ConsumeBool();
  const std::string number = in.ConsumeRandomLengthString(16);
  if (present) m.files.Store(m.quick.SettingsPath(), in.ConsumeRemainingBytesAsString());
  m.quick.LoadQuickSetup();
  m.windows.SetText(MainControl::机器数框, number);
  m.quick.FillFromMachineNumber();
  return 0;
}
