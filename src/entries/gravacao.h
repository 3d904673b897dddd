// The save of the current entry, as Grava and GravaDados run it: under mark 7
// of the company folder it writes the complement text, the entry record, the
// foreign-currency amount, the debit/credit differences, the managerial split
// and its quantities, tells document management of a change and reports to
// the change log. One Gravacao object runs one save; whatever way the save
// ends, its files are closed and the mark is released when the object goes.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Appends `texto` (zero-terminated, at most 511 bytes) to the CNLH of the
// month of `data`, followed by a zero byte that ends it for readers, and
// gives its byte offset in *posicao. An empty text writes nothing and gives 0.
// 0 or the status of the failing open, positioning, write or close.
int GravaComplemento(const std::string& pasta, CQXData data, const char* texto, uint32_t* posicao);

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

class Gravacao {
 public:
  struct Contexto {
    CLancamentoBase& objeto;
    LancamentoAtual& atual;
    const GerencialAtual& gerencial;
    FontesDocumento documento;
  };

  explicit Gravacao(const Contexto& contexto) : c_(contexto), log_(contexto.objeto) {}
  Gravacao(const Gravacao&) = delete;
  Gravacao& operator=(const Gravacao&) = delete;

  // Saves the current entry at *indlan (0 or less: a new entry). Gives the
  // raw result (see ResultadoGrava). A save that fails is undone (see
  // Desfaz): the live entries and the totals are then as before the call,
  // and so are *indlan and the current entry. Only when that undoing fails
  // too does *indlan hold the position of the record that stays written.
  int Executa(int32_t* indlan);

 private:
  // The steps up to the split lines; Executa then closes the files and sends
  // the change log.
  int Passos(int32_t* indlan);
  int Verifica(int32_t indlan) const;
  int AbreArquivos();
  int LeAnterior(uint32_t indlan);
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
  int GravaQuantidade(uint32_t posicao, size_t linha);
  // The quantity of split line `linha` (0 when the list is shorter).
  REGQTD_GER QuantidadeDaLinha(size_t linha) const;
  int FechaArquivos();
  // Takes back, in reverse order, what a failed save wrote: its new split
  // lines become zero lines, the old lines it zeroed and the old
  // foreign-currency amount are written back, its new totals are taken off,
  // the entry record becomes the replaced one again (a new entry: a deleted
  // record, its position consumed) and the replaced record's totals are
  // given back; document management is told the change back. The appended
  // complement text and the records beside a consumed position stay, as
  // nothing refers to them. True when everything was taken back; the first
  // step that fails ends the undoing, which leaves what an interrupted save
  // leaves.
  bool Desfaz();

  Contexto c_;
  // Declared first, so that it is released after the files are closed.
  CQXArqEx marca_;
  CQXarq lancamentos_;
  CQXarq gerencial_;
  CQXarq quantidades_;
  // What the save reports to the change log, sent before the files close.
  LoteLog log_;
  bool comQuantidades_ = false;
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
  size_t logAntesDoRegistro_ = SIZE_MAX;  // change-log records queued before the record write
};

}  // namespace qx
