// The save of an entry, as Grava, GravaDados and the batch interface's
// GravaLote run it: under mark 7 of the company folder it writes the
// complement text, the entry record, the foreign-currency amount, the
// debit/credit differences, the managerial split and its quantities, tells
// document management of a change and reports to the change log. One
// Gravacao object runs one entry's save; the month files and the mark are an
// ArquivosGravacao's, which one save or a whole batch shares.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "entries/lancamento_atual.h"
#include "entries/lote_log.h"
#include "outside/conexao_plano.h"
#include "outside/gd_integracao.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"
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
// The mark that serialises saves and removals in the company folder.
inline constexpr int kMarcaLancamentos = 7;

// Whether a save or removal may write: ARQ_OK; ARQ_DISCO_CHEIO when the disk
// of the company's files or of its database has no room for it, before
// anything is written; or the failure to record a session that a full disk
// kept from being recorded at initialisation.
int AceitaGravacao(CLancamentoBase& objeto);

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

// The month files that the saves made under one hold of mark 7 write. Each is
// opened in mode 'G' at its first use (the entry and split files given their
// zero record, the complement heap its first byte) and stays open until
// Fecha, so that the saves of a batch open each file of a month once. The
// files are closed before the mark is released.
enum class ArquivoMes { kLancamentos, kGerencial, kQuantidades, kComplementos, kMoeda };

class ArquivosGravacao {
 public:
  explicit ArquivosGravacao(CLancamentoBase& objeto) : objeto_(objeto) {}
  ~ArquivosGravacao() { Fecha(); }
  ArquivosGravacao(const ArquivosGravacao&) = delete;
  ArquivosGravacao& operator=(const ArquivosGravacao&) = delete;

  // Takes mark 7 of the company folder for the object's user.
  int Marca();
  void Desmarca() { marca_.Desmarca(); }
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
  // Declared first, so that it is released after the files are closed.
  CQXArqEx marca_;
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

// The save of one entry under a mark that `arquivos` holds. The change-log
// records of the save go to `log`, which the caller sends when the files are
// closed, still under the mark. A save that fails is undone with Desfaz.
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

  // What refuses the entry before the mark is taken: no session key, no
  // branch, no date, no company folder, an update moved to another month.
  // The disk's room is AceitaGravacao's.
  int Verifica(int32_t indlan) const;
  // Saves the current entry at *indlan (0 or less: a new entry), which then
  // holds the position written. Gives the raw result (see ResultadoGrava).
  int Passos(int32_t* indlan);
  // Takes back, in reverse order, what a failed save wrote: its new split
  // lines become zero lines, the old lines it zeroed and the old
  // foreign-currency amount are written back, its new totals are taken off,
  // the entry record becomes the replaced one again (a new entry: a deleted
  // record, its position consumed) and the replaced record's totals are
  // given back; document management is told the change back, and the change
  // log does not hear of the save from its record write on. The appended
  // complement text and the records beside a consumed position stay, as
  // nothing refers to them. True when everything was taken back; the first
  // step that fails ends the undoing, which leaves what an interrupted save
  // leaves.
  bool Desfaz();

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
  // Adds the replaced record's amounts to the totals with `sinal`.
  int DiferencaAnterior(int sinal) const;
  int DiferencaNova(int sinal) const;
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
  // copies a CURRENCY out of them by reference relies on.
  bool alteracao_ = false;
  alignas(8) EntryRecord anterior_{};
  uint32_t gerencialAnterior_ = 0;
  alignas(8) EntryRecord registro_{};

  // What the save has done so far, for Desfaz.
  uint32_t gedNotificado_ = 0;     // the entry document management was told of
  bool anteriorRetirado_ = false;  // the replaced record's totals are off
  uint32_t posicao_ = 0;           // where the record was written; 0: not yet
  bool moedaAnteriorLida_ = false;
  alignas(8) CurrencyRecord moedaAnterior_{};  // the update's old amount, when it had one
  bool novaSomada_ = false;  // the new totals are added
  std::vector<std::pair<uint32_t, REGLAN_GER>> linhasZeradas_;  // old lines, as they were
  std::vector<uint32_t> linhasNovas_;                           // positions appended
  // The change-log records the save queued from its record write on.
  size_t logDoRegistro_ = SIZE_MAX;
  size_t logFim_ = SIZE_MAX;
};

// The save of the current entry (Grava, GravaDados) at *indlan, under the
// mark from its files' opening to their closing. A save that fails is
// undone: the live entries and the totals are then as before the call, and
// so are *indlan and the current entry. Only when that undoing fails too
// does *indlan hold the position of the record that stays written.
int GravaLancamento(const Gravacao::Contexto& contexto, int32_t* indlan);

}  // namespace qx
