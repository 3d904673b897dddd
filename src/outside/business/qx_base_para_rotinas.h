// The base of a business object: a caller identity fixed by Inicializa, the
// last-error holder, and the access objects that read the company's data and
// hand out the peer services over the company's suite database.
#pragma once

#include <cstdint>
#include <memory>

#include "contract/profiler_identity.h"
#include "contract/reg_funcao_generica.h"
#include "outside/business/qx_inicializador.h"
#include "outside/business/qx_ultimo_erro.h"
#include "outside/peers/acesso_servidores.h"

class CQXBaseParaRotinas : public CQXInicializador, public CQXUltimoErro {
 public:
  CQXBaseParaRotinas() = default;
  ~CQXBaseParaRotinas() override;

  // Keeps the record and initialises with its company, user (the low 16
  // bits) and session.
  HRESULT Inicializa(const _REG_DF_INICIALIZAPS& registro);
  // Initialises without a record.
  HRESULT Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao);

  // The record of the last initialisation, or null when there was none or it
  // was given without one.
  const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() override;
  const char* GetEmpresaErroVirtual() override { return GetEmpresa(); }

  virtual CQXAcessoServidores* GetAcessoServidores() { return &m_acesso; }
  // No generic function is known: E_NOTIMPL, with *ppregOutps set to null.
  virtual HRESULT FuncaoGenerica(uint32_t ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                 _REG_DF_FUNCAO_GENERICAPS** ppregOutps);

  // The default access of the calling thread: the object whose call the
  // thread is running (set and cleared around each call), or null. Each
  // thread has its own, since calls of different objects run in parallel.
  static void SetAcessoDefault(CQXBaseParaRotinas* acesso);
  static CQXBaseParaRotinas* GetAcessoServidoresDefault();

  // Never null; not connected before a successful initialisation.
  CQXAcessoEmpresarial* GetAcessoEmpresarial() {
    return GetAcessoServidores()->GetAcessoEmpresarial();
  }
  CQXServidoresContabil* GetAcessoContabil() { return GetAcessoServidores()->GetAcessoContabil(); }
  CQXServidoresCore* GetAcessoCore() { return GetAcessoServidores()->GetAcessoCore(); }

  // Whether the company database takes the writes of an operation that
  // takes `bytes` on its disk (and leaves the free-space reserve, when asked):
  // S_OK, or kDiscoCheio (kept as the last error) while the disk has not that
  // room.
  // A session that could not be recorded at initialisation (a full disk) is
  // recorded now, its database opened for writing again when it was opened
  // read-only; a failure of that is returned.
  HRESULT AceitaGravacao(uint64_t bytes, bool reserva);

  // With the default connection the object opens no company database: only
  // the core access works (the analytics, which reach each company by
  // itself), and the company accesses fail with E_QXDF_NAO_INICIALIZADO.
  void SetUsaConexaoDefault(bool usa = true) { m_bUsaConexaoDefault = usa; }

 protected:
  // Opens the company's suite database and records the session in it (on a
  // full disk the database is opened for reading, and the session waits). A
  // failure is kept as the last error and written to the error log.
  HRESULT OnInicializa() override;
  // Closes the company connection.
  void OnFinaliza() override;

 private:
  HRESULT RegistraSessao(qx::SuiteDatabase& db);

  _REG_DF_INICIALIZAPS m_registro{};
  bool m_bTemRegistro = false;
  bool m_bUsaConexaoDefault = false;
  CQXAcessoServidores m_acesso;
  std::shared_ptr<qx::SuiteDatabase> m_db;  // the connection m_acesso hands out
  bool m_bSessaoPendente = false;             // not recorded yet: the disk was full
};
