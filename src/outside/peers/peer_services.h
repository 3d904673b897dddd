// The suite's peer services as this server calls them. Each is handed out by
// an access object (acesso_servidores.h) into a CQXComPtr, which releases it
// when it goes out of scope or is reset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "outside/admin/periodo_fechado.h"
#include "outside/change_log/reg_filtro_log.h"
#include "outside/database/reg_historico.h"
#include "outside/peers/reg_analytics.h"
#include "outside/peers/reg_mestre.h"
#include "platform/com_types.h"

// The owner of one service interface.
template <typename T>
using CQXComPtr = std::unique_ptr<T>;

// One record for IQXDF_Log::GravaVarios: the arguments of one Grava, and
// what the entry's history needs beside the record: the foreign-currency
// amount an entry image stands for (its status 2) and the quantity of a
// split line, when the company keeps them.
struct RegistroLog {
  int32_t chave;
  int32_t tipo;
  char servico;
  uint32_t tamanho;
  const void* dados;
  std::optional<int64_t> valorMoeda = std::nullopt;
  std::optional<int64_t> quantidade = std::nullopt;
};

// The change log of the company.
struct IQXDF_Log {
  virtual ~IQXDF_Log() = default;
  // Stores one change record: the session that made it, the key of what
  // changed, the record type, the service letter and tamanho bytes of data
  // (null data needs tamanho 0). Records keep the order in which they were
  // stored, also between processes.
  virtual HRESULT Grava(uint32_t sessao, int32_t chave, int32_t tipo, char servico,
                        uint32_t tamanho, const void* dados) = 0;
  // Stores quantos records of one session in their order, as that many calls
  // of Grava would, in one transaction; resultados[i] gets the code Grava
  // would give for record i. When the transaction fails, each record is
  // stored on its own, so one bad record never takes the others with it.
  virtual void GravaVarios(uint32_t sessao, const RegistroLog* registros, size_t quantos,
                           HRESULT* resultados) = 0;
  // Notes in the entries' history that the session set the checked mark of
  // entry indlan of month mesAno from `anterior` to `conferido`; the change
  // records themselves stay as they are.
  virtual HRESULT GravaConferencia(uint32_t sessao, uint16_t mesAno, int32_t indlan,
                                   int32_t lChaveModulo, uint8_t anterior, uint8_t conferido) = 0;
  // Stores the records of one operation of the entry service, in their
  // order, the last one carrying the operation's number, in one transaction:
  // all of them or none. A failure is returned.
  virtual HRESULT ConcluiOperacao(uint32_t sessao, uint64_t operacao, const RegistroLog* registros,
                                  size_t quantos) = 0;
  // Whether operation `operacao`, the last that began, ended: its records are
  // the last stored with a number, or it was taken back.
  virtual HRESULT OperacaoEncerrada(uint64_t operacao, bool* encerrada) = 0;
  // Notes that operation `operacao` of session `sessao` and user `usuario`,
  // which stopped part way, was taken back: an event of the entries' history
  // on entry indlan of month mesAno (the first it touched; 0 for none) that
  // says so in `descricao` (Windows-1252), and the operation as ended.
  virtual HRESULT RegistraRecuperacao(uint32_t sessao, uint16_t usuario, uint64_t operacao,
                                      uint16_t mesAno, int32_t indlan,
                                      const std::string& descricao) = 0;
  // Counts the session keys (session number >> 12, the value an entry's Secao
  // holds) of the sessions that the filter admits, and keeps them for
  // BuscaPonteiros.
  virtual HRESULT BuscaQuantidade(const _REG_DF_FILTRO_LOGPS& filtro, int32_t* quantidade) = 0;
  // Copies up to quantidade of the keys found by the last BuscaQuantidade, in
  // ascending order; E_QXDF_SEM_BUSCA before any search.
  virtual HRESULT BuscaPonteiros(int32_t quantidade, uint32_t* tabela) = 0;
};

// The standard-history service.
struct IQXCN_Historico {
  virtual ~IQXCN_Historico() = default;
  // Zeroes the record and fills it from the company's configuration.
  virtual HRESULT LeConfiguracao(_REG_CN_HISTORICO_CONFIGURACAOPS* configuracao) = 0;
};

// The accounting master.
struct IQXCN_Mestre {
  virtual ~IQXCN_Mestre() = default;
  // Zero the record and fill it from the company's accounting configuration.
  virtual HRESULT LeConfiguracao(_REG_CN_CONFIGURACAOPS* configuracao) = 0;
  virtual HRESULT LeConfiguracaoComplementar(_REG_CN_CONFIGURACAO_COMPLEMENTARPS* configuracao) = 0;
  // The period closed to changes of entries, with who closed it and when.
  virtual HRESULT LePeriodoFechado(qx::PeriodoFechado* periodo) = 0;
};

// The analytics service.
struct IQXCR_Analytics {
  virtual ~IQXCR_Analytics() = default;
  // Stores the figures, each in the database of the company it names. A
  // company that cannot be reached keeps the others from being lost: its
  // figures are skipped and the first such failure is returned.
  virtual HRESULT Grava(uint32_t quantidade, const _REG_CR_ANALYTICSPS* registros) = 0;
};
