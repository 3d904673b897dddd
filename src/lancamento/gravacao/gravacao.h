// The save of an entry, as Grava, GravaDados and the batch interface's
// GravaLote run it: inside an operation (operacao.h) it writes the complement
// text, the entry record, the foreign-currency amount, the debit/credit
// differences, the managerial split and its quantities, tells document
// management of a change and reports to the change log. One Gravacao object
// runs one entry's save; the month files are an ArquivosGravacao's, which one
// save or a whole batch shares, and the mark and the intent are the
// operation's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "lancamento/gravacao/lote_log.h"
#include "lancamento/lancamento_atual.h"
#include "lancamento/operacao.h"
#include "outside/database/conexao_plano.h"
#include "outside/peers/gd_integracao.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"
#include "values/qx_mes_ano.h"

class CLancamentoBase;

namespace qx {

// Results of a save refused before anything is written (Grava's raw results).
inline constexpr int kGravaSemSessao = 17999;  // the session number has no key (below 4096)
inline constexpr int kGravaSemData = 2;        // Data is empty: Grava gives 0x00040002
inline constexpr int kGravaSemFilial = -1;     // Filial 0: 0xFFFFFFFF
// An update of the entry last loaded or saved (the same index) whose date
// lies in another month than that entry's: the index would name another
// entry there. Grava gives 0x000405F9, GravaDados 0x800405F9.
inline constexpr int kMensagemOutroMes = 1529;

// The room the save of the entry `atual` with `gerencial` takes.
Espaco EspacoDaGravacao(const LancamentoAtual& atual, const GerencialAtual& gerencial);

// Grava's result for the raw result r of a save: 0, a record-file status
// (16001..17999) or a negative code as it is, any other positive r as
// 0x00040000 | r.
HRESULT ResultadoGrava(int r);
// GravaDados's result for Grava's: a positive one as 0x80040000 | hr.
inline HRESULT ResultadoGravaDados(HRESULT hr) {
  return hr > 0 ? static_cast<HRESULT>(0x80040000u | static_cast<uint32_t>(hr)) : hr;
}

// Appends `texto` (zero-terminated, at most 511 bytes) to the complement
// heap `heap` (open for writing, its zero byte in place), followed by a zero
// byte that ends it for readers, and gives its byte offset in *posicao. An
// empty text writes nothing and gives 0. 0 or the status of the write.
int GravaComplemento(CQXarq& heap, const char* texto, uint32_t* posicao);

// The month files that the saves of one operation write. Each is opened in
// mode 'G' at its first use (the entry and split files given their zero
// record, the complement heap its first byte) and stays open until Fecha, so
// that the saves of a batch open each file of a month once. The files are
// closed before the operation ends.
enum class ArquivoMes { kLancamentos, kGerencial, kQuantidades, kComplementos, kMoeda };

class ArquivosGravacao {
 public:
  explicit ArquivosGravacao(CLancamentoBase& objeto) : objeto_(objeto) {}
  ~ArquivosGravacao() { Fecha(); }
  ArquivosGravacao(const ArquivosGravacao&) = delete;
  ArquivosGravacao& operator=(const ArquivosGravacao&) = delete;

  // The month's file `qual` in *arq, opened at its first use (again after
  // Fecha); a missing file is made by controlled creation unless `criar` is
  // false. 0 or the status of the open or of the first record's write.
  int Arquivo(CQXMesAno mes, ArquivoMes qual, CQXarq** arq, bool criar = true);
  // Closes every open file: the first failing close of an entry file, else
  // of any other file, else 0.
  int Fecha();

 private:
  static constexpr size_t kArquivos = 5;

  CLancamentoBase& objeto_;
  std::map<uint16_t, std::array<CQXarq, kArquivos>> meses_;
};

// Where the description of an entry's document comes from.
struct FontesDocumento {
  CLancamentoBase& objeto;  // its complement heap
  CConexaoHistorico& historico;
  CConexaoPlano& plano;
};

// The document of one entry record of month `mesAno` (description, branch,
// date, document number). A failing history or account read is returned; a
// failing complement read r as 0x80040000 | r.
HRESULT DescreveDocumento(const FontesDocumento& fontes, const EntryRecord& registro,
                          CQXMesAno mesAno, CGDDoc* documento);

// The save of one entry inside an operation. The change-log records of the
// save go to `log`, which the operation stores when the files are closed. A
// save that fails is taken back: its files by the operation, the rest by
// Desfaz.
class Gravacao {
 public:
  struct Contexto {
    CLancamentoBase& objeto;
    LancamentoAtual& atual;
    const GerencialAtual& gerencial;
    FontesDocumento documento;
  };

  Gravacao(const Contexto& contexto, ArquivosGravacao& arquivos, LoteLog& log);
  Gravacao(const Gravacao&) = delete;
  Gravacao& operator=(const Gravacao&) = delete;

  // What refuses the entry before the operation begins: no session key, no
  // branch, no date, no company folder, an update moved to another month.
  // The disk's room is AceitaGravacao's.
  int Verifica(int32_t indlan) const;
  // Saves the current entry at *indlan (0 or less: a new entry), which then
  // holds the position written. Gives the raw result (see ResultadoGrava).
  int Passos(int32_t* indlan);
  // Takes back what a failed save did beyond its files, which the operation
  // takes back: document management is told the change back, and the change
  // log does not hear of the save from its record write on.
  void Desfaz();

 private:
  int AbreArquivos();
  int LeAnterior(uint32_t indlan);
  int GravaTexto(uint32_t* posicao);
  // From document management's notice to the split lines: the steps that
  // write the entry record and what depends on it.
  int Registro(int32_t* indlan);
  EntryRecord NovoRegistro() const;
  // Tells document management of the change of the stored record `antes`
  // into `depois`.
  HRESULT NotificaGed(uint32_t indlan, const EntryRecord& depois, const EntryRecord& antes) const;
  int GravaMoeda(uint32_t indlan);
  // Takes the replaced record's amounts off the totals, and adds the new one's.
  int DiferencaAnterior() const;
  int DiferencaNova() const;
  int RemoveGerencialAnterior();
  int GravaGerencial(uint32_t indlan);
  int GravaQuantidades(CQXarq& quantidades, uint32_t primeira, uint32_t quantas);
  // The quantity of split line `linha` (0 when the list is shorter).
  REGQTD_GER QuantidadeDaLinha(size_t linha) const;
  int Arquivo(ArquivoMes qual, CQXarq** arq, bool criar = true) {
    return arquivos_.Arquivo(mesAno_, qual, arq, criar);
  }

  Contexto c_;
  ArquivosGravacao& arquivos_;
  LoteLog& log_;
  CQXarq* lancamentos_ = nullptr;
  CQXMesAno mesAno_;
  uint32_t secao_ = 0;
  char servico_ = 'I';
  // The stored record an update replaces, and its split position. The
  // records are kept at the alignment of their amounts, which code that
  // copies a CURRENCY out of them by reference relies on. A deleted record
  // gave its amounts and split lines back when it was removed.
  bool alteracao_ = false;
  bool anteriorExcluido_ = false;
  alignas(8) EntryRecord anterior_{};
  uint32_t gerencialAnterior_ = 0;
  alignas(8) EntryRecord registro_{};

  // What the save has done beyond its files, for Desfaz.
  uint32_t gedNotificado_ = 0;  // the entry document management was told of
  // The change-log records the save queued from its record write on.
  size_t logDoRegistro_ = SIZE_MAX;
  size_t logFim_ = SIZE_MAX;
};

// The save of the current entry (Grava, GravaDados) at *indlan, as one
// operation. A save that fails is taken back: the files are then as before
// the call, and so are *indlan and the current entry. Should that undoing
// fail too, the result is kHrOperacaoInterrompida and the next holder of the
// mark takes the save back.
int GravaLancamento(const Gravacao::Contexto& contexto, int32_t* indlan);

}  // namespace qx
