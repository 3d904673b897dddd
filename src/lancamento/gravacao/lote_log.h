// The change-log records of one save or removal, or of a batch of saves,
// sent to the company's change log in one transaction when the file work
// ends (still under the mark, so the log keeps the order of the saves). Each
// record keeps the expression and source line that the error log names when
// it fails.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/peers/peer_services.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"

class CLancamentoBase;

namespace qx {

class LoteLog {
 public:
  explicit LoteLog(CLancamentoBase& objeto) : objeto_(objeto) {}
  LoteLog(const LoteLog&) = delete;
  LoteLog& operator=(const LoteLog&) = delete;

  // An entry change: its image (type 24) and its complement text (type 8);
  // valorMoeda is the foreign-currency amount the save wrote with it.
  void Lancamento(int32_t chave, char servico, const EntryRecord& registro, const char* complemento,
                  CQXData data, std::optional<int64_t> valorMoeda);
  // One split line as stored (type 27), with the quantity the save wrote for
  // it; `funcao`, `linhaFonte` and `expressao` name the report in the error
  // log.
  void Gerencial(int32_t chave, char servico, const REGLAN_GER& linha,
                 std::optional<int64_t> quantidade, const char* funcao, int linhaFonte,
                 const char* expressao);
  // Sends the records added since the last call, in their order.
  void Envia();
  // Sends them as the records of operation `operacao` (operacao.h), which
  // the change log notes as ended in the same transaction: all of them or
  // none. A failure is written to the error log and returned; the records
  // are then kept.
  HRESULT Conclui(uint64_t operacao);
  // How many records wait to be sent.
  size_t Quantos() const { return itens_.size(); }
  // Drops the waiting records from the `primeiro`-th up to the one before
  // the `fim`-th: what they report was undone.
  void Descarta(size_t primeiro, size_t fim) {
    fim = std::min(fim, itens_.size());
    if (primeiro < fim) itens_.erase(itens_.begin() + primeiro, itens_.begin() + fim);
  }

 private:
  struct Item {
    int32_t chave;
    int32_t tipo;
    char servico;
    std::string dados;
    std::optional<int64_t> valorMoeda, quantidade;
    const char* funcao;
    int linhaFonte;
    const char* expressao;
    bool primeiro;  // the first record of its report, which names an unreachable log
  };

  // The records as the change log takes them (pointing into itens_).
  std::vector<::RegistroLog> Registros() const;
  // Writes the failure to obtain the change log for each report.
  void FalhaServico(HRESULT hr) const;

  CLancamentoBase& objeto_;
  std::vector<Item> itens_;
};

}  // namespace qx
