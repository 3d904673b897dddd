// The server's unmarshalling of IQXCN_Lancamento calls: the input's first two
// bytes choose the slot, the rest is the payload as it came off the wire. The
// stub runs the method on the fake service of the marshalling tests (which
// answers with patterns of its slot) or refuses the payload; it never reads
// past it, and whatever it allocated is freed.
#include <cstdint>
#include <iterator>
#include <vector>

#include "../tests/remote/fake_lancamento.h"
#include "entries/interface_table.h"
#include "remote/lancamento_remote.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // Mostly slots of the interface, sometimes one beyond it.
  const uint16_t slot =
      static_cast<uint16_t>((data[0] | data[1] << 8) % (std::size(qx::kInterfaceTable) + 5));
  auto* fake = new qx::test::FakeLancamento();
  fake->AddRef();
  std::vector<uint8_t> reply;
  qx::LancamentoStub(fake, slot, data + 2, size - 2, &reply);
  fake->Release();
  return 0;
}
