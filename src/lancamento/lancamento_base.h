// CLancamentoBase: the business object behind one entry service instance. It
// holds the company's folder and configuration, read once at initialisation,
// and the connections to the charts, the histories and document management.
// Its business methods are those of the interface table, in slot order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "contract/interface_params.h"
#include "contract/interface_records.h"
#include "lancamento/busca_estado.h"
#include "lancamento/buscas/filtro_lancamento.h"
#include "lancamento/lancamento_atual.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "outside/database/conexao_plano.h"
#include "outside/database/dados_df.h"
#include "outside/peers/gd_integracao.h"
#include "values/qx_data.h"

namespace qx {

// OnInicializa's status when the accounting master service cannot be had.
inline constexpr int kStatusSemMestre = 16349;

}  // namespace qx

namespace qx {
class ArquivosLeitura;
}  // namespace qx

class CLancamentoBase : public CQXBaseParaRotinas {
 public:
  CLancamentoBase();
  ~CLancamentoBase() override;

#define QX_UNKNOWN_METHOD(slot, name, test, params)
#define QX_METHOD(slot, name, area, test, params, logged, ignored) HRESULT name QX_DECLS params;
#define QX_LOTE_METHOD(slot, name, area, test, params, logged, ignored) \
  HRESULT name QX_DECLS params;
#include "contract/interface_table.def"

  // The company's accounting ("CN") folder, where every month and side file
  // lives; it ends with a separator.
  const std::string& GetPastaEmpresa() const { return m_strPastaEmpresa; }
  uint16_t GetCodigoCliente() const { return m_usCodigoCliente; }
  // First and last day of the accounting period.
  CQXData GetDataInicialPeriodo() const { return m_dtInicialPeriodo; }
  CQXData GetDataFinalPeriodo() const { return m_dtFinalPeriodo; }
  uint16_t GetModoDiferenca() const { return m_usModoDiferenca; }
  bool GetDiferencaPorFilial() const { return m_bDiferencaPorFilial; }
  // Non-zero: the company keeps foreign-currency amounts.
  uint32_t GetMoedaEstrangeira() const { return m_ulMoedaEstrangeira; }
  bool GetUsaQuantidadeGerencial() const { return m_bUsaQuantidadeGerencial; }
  // The complement text of the current entry, which a removal's change-log
  // image carries.
  const char* ComplementoAtual() const { return m_lancamento.szComplemento; }
  // Document management; null for a company that does not use it.
  CGDIntegracaoSrv* GetIntegracaoGed() { return m_ged ? &*m_ged : nullptr; }

  // Adds `valor` to the debit/credit difference of the key (date, branch,
  // user) in the company's "CNDIFDC.DAT"; the new total goes to *novoTotal
  // (may be null). 0 or a record-file status.
  int AtualizaDiferenca(CQXData data, uint16_t filial, uint16_t usuario, CURRENCY valor,
                        CURRENCY* novoTotal);
  // The difference an entry with these accounts makes: +valor without credit
  // account, -valor without debit account, times `sinal` (+1 when the entry
  // is written, -1 when its old record is replaced or removed). Stops at the
  // first failing update and returns its status; nothing stays added then.
  int AtualizaDiferencaLancamento(int32_t debito, int32_t credito, CURRENCY valor, CQXData data,
                                  uint16_t filial, uint16_t usuario, int sinal);

  // Reports one entry change to the change log: the entry image (type 24) and
  // the complement text (type 8) under `servico`. Failures only reach the
  // error log.
  void GravaLog(int32_t chave, char servico, const qx::EntryRecord& registro,
                const char* complemento, CQXData data);
  // Reads the complement text at byte `posicao` of the CNLH of the month of
  // `data` into texto (512 bytes, zero-terminated; empty for position 0).
  // 0 or a record-file status.
  int LeComplemento(CQXData data, uint32_t posicao, char* texto);

  // Reads of many entries of a month in one call, on files that `arquivos`
  // keeps open for the call: Le, LeEspecial and LeComplemento, each with
  // every effect of its own.
  HRESULT LeDoMes(qx::ArquivosLeitura& arquivos, int32_t Indlan, uint16_t MesAno);
  HRESULT LeEspecialDoMes(qx::ArquivosLeitura& arquivos, int32_t Indlan);
  int LeComplemento(qx::ArquivosLeitura& arquivos, CQXData data, uint32_t posicao, char* texto);

 protected:
  HRESULT OnInicializa() override;

 private:
  // Logs a failed step of OnInicializa and gives its code back.
  HRESULT FalhaInicializacao(int linha, const char* passo, HRESULT hr);
  // Tells the entries' history that the mark of an entry went from
  // `anterior` to `conferido`. Failures only reach the error log.
  void InformaConferencia(uint16_t mesAno, int32_t indlan, int32_t lChaveModulo, uint8_t anterior,
                          uint8_t conferido);

  // LeEspecialChaves on files kept open by the caller.
  HRESULT LeChavesDoMes(qx::ArquivosLeitura& arquivos, int32_t Quantidade, const Lancamentos* Chaves,
                        RegDados* Dados);

  // Searches and listings: the two modes of the web listing, collecting the
  // listed entries in order.
  HRESULT ListaWebFiltrada(const _REG_FILTRO_LANCAMENTO_TARVOWEB_PS& filtro,
                           const CQXDadosDF_FiliaisAtivas& filiais, uint8_t tipoTexto,
                           std::vector<_REG_LANCAMENTO_TARVOWEB_PS>* lancamentos);
  HRESULT ListaWebRecentes(ULONG ulQtde, uint8_t tipoTexto,
                           std::vector<_REG_LANCAMENTO_TARVOWEB_PS>* lancamentos);

  uint16_t m_usModoDiferenca = 0;
  bool m_bDiferencaPorFilial = false;
  uint32_t m_ulMoedaEstrangeira = 0;
  std::string m_strPastaEmpresa;
  uint16_t m_usCodigoCliente = 0;
  CConexaoPlanoContabil m_planoContabil;
  CConexaoPlanoGerencial m_planoGerencial;
  CConexaoHistorico m_historico;
  std::optional<CGDIntegracaoSrv> m_ged;
  CQXDadosDF_TiposSistemas m_tiposSistemas;
  CQXData m_dtInicialPeriodo;
  CQXData m_dtFinalPeriodo;
  bool m_bUsaQuantidadeGerencial = false;
  qx::LancamentoAtual m_lancamento;
  qx::GerencialAtual m_gerencial;
  qx::ConsultaLancamentos m_consulta;  // filter: the search filter and the keyed reading
  qx::BuscaEstado m_busca;  // searches and listings
};
