// Administration of a company's suite database: what the admin tool and the
// seeding of new companies write, and what they list. Texts are
// Windows-1252. Adding a record whose key exists gives E_QXDF_JA_EXISTE; a
// value outside its range E_INVALIDARG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outside/change_log/change_log_events.h"
#include "outside/database/suite_database.h"

namespace qx {

struct FilialCadastro {
  int32_t numero = 0;  // 1..65535
  std::string nome;
};

struct UsuarioCadastro {
  uint16_t numero = 0;
  std::string nome;
  std::vector<int32_t> filiaisAtivas;  // ascending
};

struct ContaCadastro {
  char plano = 'C';   // 'C' accounting, 'G' managerial
  int32_t conta = 0;  // above 0
  int32_t contaSuperior = 0;
  std::string classificacao;
  std::string nome;
  char tipo = 'A';  // 'T' synthetic, 'A' analytic
};

struct HistoricoCadastro {
  uint16_t codigo = 0;  // above 0
  std::string texto;
  std::string abreviacao;
};

struct NotificacaoGed {
  int64_t id = 0;
  uint32_t sessao = 0;
  uint16_t usuario = 0;
  char operacao = '\0';  // 'A' change, 'E' removal
  int32_t chave = 0;
  std::string descricaoNova, descricaoAntiga;
  uint16_t filialNova = 0, filialAntiga = 0;
  uint32_t dataNova = 0, dataAntiga = 0;
  int32_t documentoNovo = 0, documentoAntigo = 0;
};

// Each runs in a transaction of its own, or inside the caller's.
HRESULT AdicionaFilial(SuiteDatabase& db, const FilialCadastro& filial);
// Adds the user and activates its branches, which must exist.
HRESULT AdicionaUsuario(SuiteDatabase& db, const UsuarioCadastro& usuario);
HRESULT DefineFilialAtiva(SuiteDatabase& db, uint16_t usuario, int32_t filial, bool ativa);
HRESULT AdicionaConta(SuiteDatabase& db, const ContaCadastro& conta);
HRESULT AdicionaHistorico(SuiteDatabase& db, const HistoricoCadastro& historico);
// Locks or unlocks an entry's document in document management.
HRESULT DefineDocumentoBloqueado(SuiteDatabase& db, int32_t lChaveComposta, bool bloqueado);

HRESULT ListaFiliais(SuiteDatabase& db, std::vector<FilialCadastro>* filiais);
HRESULT ListaUsuarios(SuiteDatabase& db, std::vector<UsuarioCadastro>* usuarios);
// plano 'C' or 'G', or '\0' for both charts; in chart and account order.
HRESULT ListaContas(SuiteDatabase& db, char plano, std::vector<ContaCadastro>* contas);
HRESULT ListaHistoricos(SuiteDatabase& db, std::vector<HistoricoCadastro>* historicos);
// The change log in the order stored.
HRESULT LeLogAlteracoes(SuiteDatabase& db, std::vector<RegistroLog>* registros);
HRESULT LeNotificacoesGed(SuiteDatabase& db, std::vector<NotificacaoGed>* notificacoes);

}  // namespace qx
