// The server's unmarshalling of IQXCN_Lancamento and IQXCN_LancamentoLote calls:
// the input's first two bytes choose the interface (the top bit) and the slot, the
// rest is the payload as it came off the wire. The
// stub runs the method on the fake service of the marshalling tests (which
// answers with patterns of its slot) or refuses the payload; it never reads
// past it, and whatever it allocated is freed.
#include <cstdint>
#include <iterator>
#include <vector>

#include "../tests/remote/fake_lancamento.h"
#include "contract/interface_table.h"
#include "remote/lancamento_remote.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const unsigned choice = data[0] | data[1] << 8;
  const bool lote = (choice & 0x8000) != 0;
  // Mostly slots of the interface, sometimes one beyond it.
  const size_t slots = lote ? std::size(qx::kInterfaceTableLote) : std::size(qx::kInterfaceTable);
  const auto slot = static_cast<uint16_t>((choice & 0x7FFF) % (slots + 5));
  auto* fake = new qx::test::FakeLancamento();
  fake->AddRef();
  std::vector<uint8_t> reply;
  if (lote) {
    qx::LoteStub(static_cast<IQXCN_LancamentoLote*>(fake), slot, data + 2, size - 2, &reply);
  } else {
    qx::LancamentoStub(static_cast<IQXCN_Lancamento*>(fake), slot, data + 2, size - 2, &reply);
  }
  fake->Release();
  return 0;
}
