// A company's configuration, its change log and its document-management
// notifications.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "cli.h"
#include "common/filtro_historico.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/company_config.h"
#include "outside/change_log/change_log_query.h"
#include "outside/database/company_row.h"
#include "platform/codepage.h"

namespace qxadmin {
namespace {

using qx::cli::TextoCp1252;

Celula ValueCell(const qx::ConfigItem& item, int64_t value) {
  if (item.kind == qx::ConfigKind::kDate) return CQXData(static_cast<uint32_t>(value));
  return value;
}

// A date as people write it, or "0" / "nenhuma" for no date.
int64_t ReadValue(const Argumentos& args, const qx::ConfigItem& item, const std::string& text) {
  switch (item.kind) {
    case qx::ConfigKind::kDate:
      if (text == "0" || text == "nenhuma" || text == "none") return 0;
      return args.LeData(text, item.name).Value();
    case qx::ConfigKind::kFlag:
      return Number(args, text, 0, 1, item.name);
    case qx::ConfigKind::kNumber:
      break;
  }
  return Number(args, text, 0, item.max, item.name);
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char pair[3];
  for (const char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(byte));
    text += pair;
  }
  return text;
}

void ShowConfig(const Argumentos& args, Contexto& contexto, Saida& saida) {
  auto db = contexto.Company(Word(args, 0));
  std::string code, name;
  Check(qx::ReadCompanyRow(*db, "codigo, nome",
                           [&](const qx::SqlStatement& row) {
                             code = row.Text(0);
                             name = row.Text(1);
                           }),
        "ler a empresa", db->message());
  Tabela empresa({"empresa", "nome"});
  empresa.Linha({TextoCp1252(code), TextoCp1252(name)});
  saida.Resumo("empresa", empresa, "empresa " + qx::Cp1252ToUtf8(code + " " + name));
  Tabela tabela({"nome", "valor", "significado"});
  for (const qx::ConfigItem& item : qx::ConfigItems()) {
    int64_t value = 0;
    Check(qx::GetConfig(*db, item, &value), "ler a configuração", db->message());
    tabela.Linha({item.name, ValueCell(item, value), item.meaning});
  }
  saida.Mostra("configuracao", "", tabela);
}

void SetConfig(const Argumentos& args, Contexto& contexto, Saida&) {
  const std::string& name = args.Posicionais()[1];
  const qx::ConfigItem* item = qx::FindConfigItem(name);
  if (item == nullptr) {
    throw ErroUso{"configuração desconhecida: " + name + " (qxadmin config mostra EMPRESA)"};
  }
  const int64_t value = ReadValue(args, *item, args.Posicionais()[2]);
  auto db = contexto.Company(Word(args, 0));
  Check(qx::SetConfig(*db, *item, value), "gravar a configuração", db->message());
}

// The records as stored, for support: without a filter every one of them
// (those of no save too), else the records of the saves the filter admits.
void ListLog(const Argumentos& args, Contexto& contexto, Saida& saida) {
  auto db = contexto.Company(Word(args, 0));
  const qx::FiltroEventos filtro = LeFiltroHistorico(args);
  std::vector<qx::RegistroLog> records;
  HRESULT hr;
  if (filtro == qx::FiltroEventos{}) {
    hr = qx::LeLogAlteracoes(*db, &records);
  } else {
    hr = db->Read([&] {
      std::vector<qx::EventoLog> eventos;
      qx::ConsultaLog consulta(*db);
      HRESULT lido = consulta.ListaEventos(filtro, &eventos);
      if (SUCCEEDED(lido)) lido = consulta.LeRegistros(&eventos);
      records.clear();
      for (qx::EventoLog& e : eventos) {
        std::move(e.registros.begin(), e.registros.end(), std::back_inserter(records));
      }
      return lido;
    });
  }
  Check(hr, "ler o log de alterações", db->message());
  const auto opcional = [](const auto& valor) { return valor ? Celula(*valor) : Celula(); };
  Tabela tabela({"id", "gravado_em", "sessao", "chave", "tipo", "servico", "tamanho", "dados",
                 "usuario", "valor_moeda", "quantidade"});
  for (const qx::RegistroLog& r : records) {
    tabela.Linha({r.id, r.gravadoEm, r.sessao, r.chave, r.tipo,
                  std::string(1, r.servico == '\0' ? '-' : r.servico), r.dados.size(), Hex(r.dados),
                  opcional(r.usuario), r.valorMoeda ? Celula(CURRENCY{*r.valorMoeda}) : Celula(),
                  r.quantidade ? Celula(CURRENCY{*r.quantidade}) : Celula()});
  }
  saida.Mostra("log", "", tabela);
}

void ListGed(const Argumentos& args, Contexto& contexto, Saida& saida) {
  ShowList<qx::NotificacaoGed>(
      args, contexto, saida, "ler as notificações", "notificacoes",
      {"id", "operacao", "chave", "sessao", "usuario", "data", "filial", "documento", "descricao",
       "data_anterior", "filial_anterior", "documento_anterior", "descricao_anterior"},
      qx::LeNotificacoesGed, [](const qx::NotificacaoGed& n) {
        std::vector<Celula> linha = {n.id, std::string(1, n.operacao), n.chave, n.sessao,
                                     n.usuario};
        if (n.operacao == 'A') {
          linha.insert(linha.end(),
                       {CQXData(n.dataNova), n.filialNova, n.documentoNovo,
                        TextoCp1252(n.descricaoNova), CQXData(n.dataAntiga), n.filialAntiga,
                        n.documentoAntigo, TextoCp1252(n.descricaoAntiga)});
        }
        return linha;
      });
}

void LockGed(const Argumentos& args, Contexto& contexto, bool lock) {
  const auto key =
      static_cast<int32_t>(Number(args, args.Posicionais()[1], INT32_MIN, INT32_MAX, "CHAVE"));
  auto db = contexto.Company(Word(args, 0));
  Check(qx::DefineDocumentoBloqueado(*db, key, lock), "mudar o bloqueio", db->message());
}

}  // namespace

std::vector<Comando> ConfigCommands() {
  return {
      {"config show",
       "EMPRESA",
       "a configuração da empresa, com os nomes que config define aceita",
       {},
       ComContexto(ShowConfig)},
      {"config set",
       "EMPRESA NOME VALOR",
       "muda uma configuração (datas como 01/01/2026)",
       {},
       ComContexto(SetConfig)},
      {"log list", "EMPRESA",
       "os registros do log de alterações como gravados (historico do qxcn os lê)",
       OpcoesFiltroHistorico(true), ComContexto(ListLog)},
      {"ged list", "EMPRESA", "as notificações à gestão de documentos", {}, ComContexto(ListGed)},
      {"ged lock",
       "EMPRESA CHAVE",
       "bloqueia o documento de um lançamento",
       {},
       ComContexto([](const Argumentos& a, Contexto& c, Saida&) { LockGed(a, c, true); })},
      {"ged unlock",
       "EMPRESA CHAVE",
       "desbloqueia o documento de um lançamento",
       {},
       ComContexto([](const Argumentos& a, Contexto& c, Saida&) { LockGed(a, c, false); })},
  };
}

}  // namespace qxadmin
