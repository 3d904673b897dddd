// The interface table: every slot in place, in the generated interface and in
// the table's data, and the descriptions a marshaller relies on.
#include "contract/interface_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <span>
#include <string>
#include <tuple>

#include "contract/iqxcn_lancamento.h"

namespace qx {
namespace {

// The methods of slots 3 to 92 in order, as clients built against the type
// library know them: their count and a 64-bit FNV-1a hash of their names,
// each followed by a space.
constexpr size_t kSlots = 90;
constexpr uint64_t kSlotNamesHash = 0x33edc929647899a8;
// The batch interface's: GravaLote LeLancamentosFaixa LeGerenciaisFaixa
// LeChavesBusca LeLancamentosChaves.
constexpr size_t kSlotsLote = 5;
constexpr uint64_t kSlotNamesHashLote = 0x2334012b948c68b2;

uint64_t HashOfNames(std::span<const MethodInfo> table) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (const MethodInfo& method : table) {
    for (const char c : std::string(method.name) + ' ') {
      hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001b3u;
    }
  }
  return hash;
}

// The vtable slot of a virtual member function (Itanium C++ ABI: the pointer
// holds 1 + the slot's byte offset in the table).
template <class Pointer>
int VtableSlot(Pointer method) {
  struct {
    uintptr_t ptr;
    ptrdiff_t adj;
  } raw;
  static_assert(sizeof(raw) == sizeof(method));
  std::memcpy(&raw, &method, sizeof(raw));
  EXPECT_EQ(raw.ptr % sizeof(void*), 1u);
  return static_cast<int>((raw.ptr - 1) / sizeof(void*));
}

struct GeneratedSlot {
  int slot;
  const char* name;
  int vtable;
};

const GeneratedSlot kGenerated[] = {
#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  {slot, #name, VtableSlot(&IQXCN_Lancamento::name)},
#include "contract/interface_table.def"
};

const GeneratedSlot kGeneratedLote[] = {
#define QX_LOTE_METHOD(slot, name, area, test, params, logged, ignored) \
  {slot, #name, VtableSlot(&IQXCN_LancamentoLote::name)},
#include "contract/interface_table.def"
};

// Each interface: IUnknown's three slots, then its own in the order clients know.
void ExpectPinned(std::span<const MethodInfo> table, std::span<const GeneratedSlot> generated) {
  ASSERT_EQ(table.size(), generated.size());
  for (size_t i = 0; i < table.size(); ++i) {
    const int slot = static_cast<int>(i) + 3;
    EXPECT_EQ(std::tuple(table[i].slot, std::string(table[i].name), generated[i].vtable),
              std::tuple(slot, std::string(generated[i].name), slot));
  }
}

TEST(InterfaceTable, EverySlotIsPinned) {
  EXPECT_EQ(
      std::tuple(VtableSlot(&IUnknown::QueryInterface), VtableSlot(&IUnknown::AddRef),
                 VtableSlot(&IUnknown::Release), VtableSlot(&IQXCN_LancamentoLote::QueryInterface)),
      std::tuple(0, 1, 2, 0));
  ExpectPinned(kInterfaceTable, kGenerated);
  ExpectPinned(kInterfaceTableLote, kGeneratedLote);
  EXPECT_EQ(std::tuple(std::size(kInterfaceTable), HashOfNames(kInterfaceTable),
                       std::size(kInterfaceTableLote), HashOfNames(kInterfaceTableLote)),
            std::tuple(kSlots, kSlotNamesHash, kSlotsLote, kSlotNamesHashLote));
  for (const MethodInfo& method : kInterfaceTableLote) {
    EXPECT_EQ(std::tuple(method.area, method.test),
              std::tuple(Area::kLote, StateTest::kInicializado));
  }
}

// The logged names and the shapes of single methods are the table's own data;
// what they produce is tested through the profiler (tests/server) and the
// proxy and stub (tests/remote). Here: the rules the whole table follows.
TEST(InterfaceTable, IgnoredCodesStateTestsAndParameters) {
  for (const MethodInfo& method : kInterfaceTable) {
    const bool reads = std::strcmp(method.name, "LeDados") == 0 ||
                       std::strcmp(method.name, "LeDadosComplemento") == 0;
    EXPECT_EQ(IgnoredCodeList(kHrLancamentoExcluido, method.ignored), reads) << method.name;
    const bool anyState = std::strcmp(method.name, "GetQuantidadeEmpresas") == 0 ||
                          std::strcmp(method.name, "GetEmpresas") == 0 ||
                          (method.area == Area::kFrame && method.slot != 6);
    EXPECT_EQ(method.test == StateTest::kQualquerEstado, anyState) << method.name;
    for (const ParamInfo& param : method.params) {
      // Every counted array names a parameter of the same method that comes as a number.
      if (param.shape == ParamShape::kArray) {
        const ParamInfo* count = nullptr;
        for (const ParamInfo& other : method.params) {
          if (std::strcmp(other.name, param.sizeParam) == 0) count = &other;
        }
        ASSERT_NE(count, nullptr) << method.name << " " << param.name;
        EXPECT_EQ(count->shape, ParamShape::kValue);
        EXPECT_NE(count->kind, ValueKind::kRecord);
      }
      EXPECT_EQ(param.kind == ValueKind::kRecord, param.record != nullptr);
      if (param.record != nullptr) {
        EXPECT_EQ(param.record->size, param.size);
      }
    }
  }
}

}  // namespace
}  // namespace qx
