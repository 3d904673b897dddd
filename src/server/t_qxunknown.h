// T_QXUnknown<I, B>: the COM object of the entry service. It owns the
// business object B, and every call reaches B through one frame that checks
// the initialisation, times the call, writes the profiler records, catches
// machine faults and thrown exceptions, turns them into HRESULTs, logs each
// failure, and destroys a business object that a machine fault has damaged.
// The entry methods are generated from the interface table; the object
// offers the batch interface of the table beside I, through the same frame.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "contract/iqxcn_lancamento.h"
#include "contract/param_text.h"
#include "contract/profiler_identity.h"
#include "diagnostics/profiler_call.h"
#include "diagnostics/profiler_statistics.h"
#include "platform/invalid_parameter.h"
#include "server/frame_site.h"
#include "server/frame_support.h"

template <class I, class B>
class T_QXUnknown : public IQXDF_Profiler, public I, public IQXCN_LancamentoLote {
 public:
  T_QXUnknown();
  virtual ~T_QXUnknown();
  T_QXUnknown(const T_QXUnknown&) = delete;
  T_QXUnknown& operator=(const T_QXUnknown&) = delete;

  // The result of creating the business object: a negative one fails the
  // creation of the COM object.
  HRESULT GetHrConstruct() const { return m_hrConstruct; }

  // IUnknown: IUnknown, I and the batch interface answer, nothing else.
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return ++m_cRef; }
  ULONG Release() override;

  // IQXDF_Profiler: the business object's identity, empty without one.
  const char* GetEmpresa() override { return m_pObjeto ? m_pObjeto->GetEmpresa() : ""; }
  unsigned short GetUsuario() override { return m_pObjeto ? m_pObjeto->GetUsuario() : 0; }
  uint32_t GetNumeroSessao() override { return m_pObjeto ? m_pObjeto->GetNumeroSessao() : 0; }
  const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() override { return &m_regInicializacao; }

  // IQXUnknown.
  HRESULT Inicializa_Padrao(_REG_DF_INICIALIZAPS regps) override;
  HRESULT KeepAlive(int32_t* pbOK) override;
  HRESULT GetUltimoErro(_REG_DF_ERROPS* pregErrops) override;
  HRESULT FuncaoGenerica(ULONG ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                         _REG_DF_FUNCAO_GENERICAPS** ppregOutps) override {
    return Chama(
        qx::sites::kFuncaoGenerica, &qx::OnInvalidParameter<qx::sites::kFuncaoGenerica>,
        [](qx::ProfilerCall& registro) { registro.Entry(qx::sites::kFuncaoGenerica.nome); },
        [&](B& objeto) { return objeto.FuncaoGenerica(ulFuncao, regInps, ppregOutps); });
  }

  // IQXCN_Lancamento and IQXCN_LancamentoLote: each method in its frame.
#define QX_UNKNOWN_METHOD(slot, name, test, params)
#define QX_LOG(label, expression) \
  qx::ProfilerPair { label, qx::ParamText(expression) }
#define QX_LOG_DEREF(label, pointer) \
  qx::ProfilerPair { label, qx::ParamTextAt(pointer) }
#define QX_METHOD(slot, name, area, test, params, logged, ignored)       \
  HRESULT name QX_DECLS params override {                                \
    return Chama(                                                        \
        qx::sites::k##name, &qx::OnInvalidParameter<qx::sites::k##name>, \
        [&](qx::ProfilerCall& registro) {                                \
          registro.Entry(qx::sites::k##name.nome, {QX_ENDED logged});    \
        },                                                               \
        [&](B& objeto) { return objeto.name QX_NAMES params; });         \
  }
#define QX_LOTE_METHOD QX_METHOD
#include "contract/interface_table.def"

 private:
  bool Inicializado() const { return m_pObjeto && m_pObjeto->EstaInicializado(); }

  // A whole frame: the state test, steps 2 to 11 and the close of the
  // profiler record.
  template <class Entrada, class Chamada>
  HRESULT Chama(const qx::FrameSite& site, _invalid_parameter_handler handler, Entrada&& entrada,
                Chamada&& chamada);
  // From the start time to the statistics, on a profiler record that the
  // caller opened and closes.
  template <class Entrada, class Chamada>
  HRESULT Moldura(const qx::FrameSite& site, _invalid_parameter_handler handler,
                  qx::ProfilerCall& registro, Entrada& entrada, Chamada& chamada);
  // The business call under the machine-fault guard; E_QXCR_SEM_OBJETO
  // without a business object.
  template <class Chamada>
  HRESULT ChamadaProtegida(const qx::FrameSite& site, const char* empresa, Chamada& chamada);
  // The frame of the creation and of the destruction around one guarded step.
  template <class Passo>
  void MolduraVida(const qx::FrameSite& site, _invalid_parameter_handler handler, Passo passo);
  // Clears the pointer, then finalises and destroys the business object under
  // the guard. An exception of the finalisation passes on to the caller (the
  // frame's catch), the object destroyed.
  HRESULT LiberaObjeto(const qx::FrameSite& site, const char* empresa);

  _REG_DF_INICIALIZAPS m_regInicializacao{};
  std::unique_ptr<B> m_pObjeto;
  HRESULT m_hrConstruct = S_OK;
  std::unique_ptr<qx::CallStatistics> m_estatisticas;
  std::atomic<ULONG> m_cRef{0};
};

#include "server/t_qxunknown_frame.h"
