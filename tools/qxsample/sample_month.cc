// One month of sample entries.
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "sample.h"
#include "sample_file.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"

namespace qx::sample {
namespace {

struct SplitLine {
  int64_t valor;
  int32_t contaGerencial;
  int64_t quantidade;
};

struct SampleEntry {
  int day;
  int32_t documento;
  int32_t debito;
  int32_t credito;
  int64_t valor;  // ten-thousandths
  uint16_t filial;
  uint16_t codHis;
  const char* complemento;  // UTF-8; nullptr for none
  std::vector<SplitLine> splits;
  int64_t valorMoeda = 0;
  bool imported = false;
  bool deleted = false;
};

const std::vector<SampleEntry>& Entries() {
  static const std::vector<SampleEntry> kEntries = {
      {5, 1001, 1101, 2101, 15'000'000, 1, 10, "Venda à vista conforme NF 1001", {}},
      {10,
       1002,
       3101,
       1101,
       8'000'000,
       1,
       20,
       "Aluguel do mês",
       {{5'000'000, 11, 50'000}, {3'000'000, 12, 30'000}}},
      {15, 1003, 1101, 0, 2'500'000, 2, 0, nullptr, {}},
      {20, 1004, 1102, 2102, 12'000'000, 1, 30, "Importado da folha\r", {}, 2'400'000, true},
      {22,
       1005,
       0,
       2101,
       755'000,
       2,
       40,
       "Rateio de despesas",
       {{255'000, 11, 0}, {250'000, 12, 0}, {250'000, 13, 0}}},
      // Removed last, so that its difference leaves a free slot behind.
      {28,
       1006,
       3102,
       0,
       1'000'000,
       1,
       20,
       "Lançado em dobro",
       {{600'000, 11, 10'000}, {400'000, 13, 20'000}},
       0,
       false,
       true},
  };
  return kEntries;
}

// Signed contribution of an entry to the one-sided totals.
int64_t Difference(const SampleEntry& entry) {
  return (entry.credito == 0 ? entry.valor : 0) - (entry.debito == 0 ? entry.valor : 0);
}

}  // namespace

void WriteMonth(const std::string& folder, CQXMesAno mesAno, DifferenceBook* book,
                std::vector<std::string>* made) {
  auto open = [&](const char* prefix) {
    return SampleFile(folder, NomeArquivoMes("", prefix, mesAno.Value()), made);
  };
  SampleFile entries = open(kPrefixoLancamentos);
  SampleFile splits = open(kPrefixoGerencial);
  SampleFile quantities = open(kPrefixoQuantidades);
  SampleFile currency = open(kPrefixoMoeda);
  SampleFile complements = open(kPrefixoComplementos);
  entries.AppendZeros(kEntryRecordSize);
  splits.AppendZeros(kSplitRecordSize);
  quantities.AppendZeros(kQuantityRecordSize);
  currency.AppendZeros(kCurrencyRecordSize);
  complements.AppendText(std::string(1, kComplementZeroByte));
  // A complement that was changed later: its first text stays in the heap.
  complements.AppendText(Utf8ToCp1252("Venda"));

  uint32_t index = 0;
  for (const SampleEntry& sample : Entries()) {
    ++index;
    EntryRecord entry{};
    entry.Documento = sample.documento + mesAno.Month() * 10000;
    entry.Debito = sample.debito;
    entry.Credito = sample.credito;
    entry.Secao = 0x12345;
    entry.Valor.int64 = sample.valor;
    entry.CodHis = sample.codHis;
    entry.Filial = sample.filial;
    entry.cDia = static_cast<int8_t>(sample.day);
    entry.cStatus = sample.deleted      ? kEntryDeleted
                    : sample.valorMoeda ? kEntryLiveWithCurrency
                                        : kEntryLive;
    if (sample.imported) {
      entry.lChaveModulo = MakeChaveModulo(index + 7, kImportModule);
      entry.iData = mesAno.Value();
    }
    if (sample.complemento) {
      entry.Complemento =
          static_cast<int32_t>(complements.AppendText(Utf8ToCp1252(sample.complemento)));
    }
    for (const SplitLine& split : sample.splits) {
      // A removed entry's lines are overwritten with zeros.
      REGLAN_GER line{};
      if (!sample.deleted) {
        line = {{split.valor},
                index,
                split.contaGerencial,
                sample.debito != 0 ? sample.debito : sample.credito};
      }
      const uint32_t position = splits.Append(line);
      if (entry.Gerencial == 0) entry.Gerencial = static_cast<int32_t>(position);
      quantities.Append(REGQTD_GER{{sample.deleted ? 0 : split.quantidade}});
    }
    entries.Append(entry);
    currency.Append(CurrencyRecord{{sample.valorMoeda}, {}});

    const uint32_t date = CQXData::FromMesAno(mesAno, sample.day).Value();
    if (const int64_t difference = Difference(sample); difference != 0) {
      book->Add(date, difference);
      if (sample.deleted) book->Add(date, -difference);
    }
  }
}

}  // namespace qx::sample
