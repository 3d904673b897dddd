// Layouts of the month files with records: entries, split lines, quantities
// and foreign-currency amounts.
#include <memory>
#include <string>

#include "record_layout.h"
#include "references.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "value_forms.h"
#include "values/qx_dmcps.h"

namespace qx::dump {
namespace {

Value StatusWord(uint8_t status) {
  switch (status) {
    case kEntryLive:
      return std::string("ativo");
    case kEntryDeleted:
      return std::string("excluído");
    case kEntryLiveWithCurrency:
      return std::string("ativo+moeda");
    default:
      return "desconhecida " + std::to_string(status);
  }
}

uint32_t OwnerOf(const REGLAN_GER& line) { return line.Indlan & kSplitOwnerMask; }

// Finds the first line of the chain that holds a line: the run of lines
// before it whose owner agrees. Rows come in order, so the run found for one
// line carries over to the next; only the first line of a range walks back.
class ChainFinder {
 public:
  explicit ChainFinder(DumpContext& context) : context_(context) {}

  uint64_t StartOf(uint64_t position, const REGLAN_GER& line) {
    const bool continues =
        havePrevious_ && position == previous_ + 1 && previousOwner_ == OwnerOf(line);
    if (!continues) {
      start_ = position;
      std::vector<unsigned char> before;
      while (start_ > 1 && context_.ReadRecord(start_ - 1, kSplitRecordSize, &before) &&
             !AllZero(before) && OwnerOf(As<REGLAN_GER>(before)) == OwnerOf(line)) {
        --start_;
      }
    }
    havePrevious_ = true;
    previous_ = position;
    previousOwner_ = OwnerOf(line);
    return start_;
  }

  // A removed (zero) line ends every chain.
  void Removed() { havePrevious_ = false; }

 private:
  DumpContext& context_;
  bool havePrevious_ = false;
  uint64_t previous_ = 0;
  uint32_t previousOwner_ = 0;
  uint64_t start_ = 0;
};

}  // namespace

RecordLayout EntryLayout(DumpContext& context) {
  const FileName& name = context.name;
  if (!name.hasMonth) context.Remark("o nome do arquivo não diz o mês: as datas não se refazem");
  return {
      kPrefixoLancamentos,
      "lançamentos",
      kEntryRecordSize,
      {{"pos", 6},          {"date", 10},        {"status", 13},       {"Documento", 10},
       {"Debito", 8},       {"Credito", 8},      {"Valor", 16},        {"Filial", 6},
       {"CodHis", 6},       {"Complemento", 11}, {"Gerencial", 9},     {"Secao", 8},
       {"module", 6},       {"key", 8},          {"iData", 7},         {"cConferido", 10},
       {"cStatusIFRS", 11}, {"cDia", 0, true},   {"cStatus", 0, true}, {"lChaveModulo", 0, true}},
      [&name](uint64_t position, const std::vector<unsigned char>& bytes) {
        const auto entry = As<EntryRecord>(bytes);
        return std::vector<Value>{Number(static_cast<int64_t>(position)),
                                  name.hasMonth ? DateValue(name.mesAno, entry.cDia) : Value{},
                                  StatusWord(entry.cStatus),
                                  Number(entry.Documento),
                                  Number(entry.Debito),
                                  Number(entry.Credito),
                                  Money{entry.Valor.int64},
                                  Number(entry.Filial),
                                  Number(entry.CodHis),
                                  Number(entry.Complemento),
                                  Number(entry.Gerencial),
                                  Number(entry.Secao),
                                  Number(OriginModule(entry.lChaveModulo)),
                                  Number(OriginKey(entry.lChaveModulo)),
                                  MonthValue(entry.iData),
                                  Number(entry.cConferido),
                                  Number(entry.cStatusIFRS),
                                  Number(entry.cDia),
                                  Number(entry.cStatus),
                                  Number(entry.lChaveModulo)};
      }};
}

RecordLayout SplitLayout(DumpContext& context) {
  // Entries name the first line of their chain.
  std::optional<References> entries;
  if (auto path = EntryFileBeside(context.name)) {
    entries = LoadReferences(*path, kEntryRecordSize, [](const std::vector<unsigned char>& b) {
      const int32_t first = As<EntryRecord>(b).Gerencial;
      return first > 0 ? static_cast<uint64_t>(first) : 0;
    });
    if (!entries) context.Remark(*path + " não se lê: os lançamentos das cadeias não aparecem");
  }
  return {kPrefixoGerencial,
          "linhas de rateio gerencial",
          kSplitRecordSize,
          {{"pos", 6},
           {"Valor", 16},
           {"Indlan", 10},
           {"owner", 9},
           {"ContaGerencial", 14},
           {"ContaContabil", 13},
           {"chain", 6},
           {"entries", 7}},
          [chains = std::make_shared<ChainFinder>(context), entries](
              uint64_t position, const std::vector<unsigned char>& bytes) {
            const auto line = As<REGLAN_GER>(bytes);
            Value chain;
            if (AllZero(bytes)) {
              chains->Removed();
            } else {
              chain = Number(static_cast<int64_t>(chains->StartOf(position, line)));
            }
            Value naming;
            if (entries) {
              auto it = entries->find(position);
              naming = it == entries->end() ? std::vector<int64_t>{} : it->second;
            }
            return std::vector<Value>{Number(static_cast<int64_t>(position)),
                                      Money{line.Valor.int64},
                                      Number(line.Indlan),
                                      Number(OwnerOf(line)),
                                      Number(line.ContaGerencial),
                                      Number(line.ContaContabil),
                                      chain,
                                      naming};
          }};
}

RecordLayout QuantityLayout() {
  return {kPrefixoQuantidades,
          "quantidades gerenciais",
          kQuantityRecordSize,
          {{"pos", 6}, {"Quantidade", 16}},
          [](uint64_t position, const std::vector<unsigned char>& bytes) {
            return std::vector<Value>{Number(static_cast<int64_t>(position)),
                                      Money{As<REGQTD_GER>(bytes).Quantidade.int64}};
          }};
}

RecordLayout CurrencyLayout() {
  return {kPrefixoMoeda,
          "valores em moeda estrangeira",
          kCurrencyRecordSize,
          {{"pos", 6}, {"ValorMoeda", 16}},
          [](uint64_t position, const std::vector<unsigned char>& bytes) {
            return std::vector<Value>{Number(static_cast<int64_t>(position)),
                                      Money{As<CurrencyRecord>(bytes).ValorMoeda.int64}};
          }};
}

}  // namespace qx::dump
