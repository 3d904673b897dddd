// A company's configuration, its change log and its document-management
// notifications.
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "outside/company_admin.h"
#include "outside/company_config.h"
#include "outside/company_row.h"

namespace qxadmin {
namespace {

std::string ValueText(const qx::ConfigItem& item, int64_t value) {
  return item.kind == qx::ConfigKind::kDate ? DateText(static_cast<uint32_t>(value))
                                            : std::to_string(value);
}

int64_t ReadValue(const qx::ConfigItem& item, const std::string& text) {
  switch (item.kind) {
    case qx::ConfigKind::kDate:
      return Date(text, item.name);
    case qx::ConfigKind::kFlag:
      return Number(text, 0, 1, item.name);
    case qx::ConfigKind::kNumber:
      break;
  }
  return Number(text, 0, item.max, item.name);
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

std::string Document(const std::string& descricao, uint16_t filial, uint32_t data,
                     int32_t documento) {
  return DateText(data) + " " + std::to_string(filial) + " " + std::to_string(documento) + " \"" +
         descricao + "\"";
}

}  // namespace

int ConfigCommand(Context& context, const std::string& action, Args args) {
  if (action == "show") {
    auto db = context.Company(args.Positional(1, 1)[0]);
    std::string code, name;
    Check(qx::ReadCompanyRow(*db, "codigo, nome",
                             [&](const qx::SqlStatement& row) {
                               code = row.Text(0);
                               name = row.Text(1);
                             }),
          db->message());
    PrintLine("company\t" + code + "\t" + name);
    for (const qx::ConfigItem& item : qx::ConfigItems()) {
      int64_t value = 0;
      Check(qx::GetConfig(*db, item, &value), db->message());
      PrintLine(std::string(item.name) + "\t" + ValueText(item, value) + "\t" + item.meaning);
    }
    return 0;
  }
  if (action == "set") {
    const std::vector<std::string> words = args.Positional(3, 3);
    const qx::ConfigItem* item = qx::FindConfigItem(words[1]);
    if (item == nullptr) Usage("unknown configuration value " + words[1]);
    const int64_t value = ReadValue(*item, words[2]);
    auto db = context.Company(words[0]);
    Check(qx::SetConfig(*db, *item, value), db->message());
    return 0;
  }
  Usage("unknown action config " + action);
}

int LogCommand(Context& context, const std::string& action, Args args) {
  if (action != "list") Usage("unknown action log " + action);
  auto db = context.Company(args.Positional(1, 1)[0]);
  std::vector<qx::RegistroLog> records;
  Check(qx::LeLogAlteracoes(*db, &records), db->message());
  for (const qx::RegistroLog& r : records) {
    PrintLine(std::to_string(r.id) + "\t" + r.gravadoEm + "\t" + std::to_string(r.sessao) + "\t" +
              std::to_string(r.chave) + "\t" + std::to_string(r.tipo) + "\t" +
              std::string(1, r.servico == '\0' ? '-' : r.servico) + "\t" +
              std::to_string(r.dados.size()) + "\t" + Hex(r.dados));
  }
  return 0;
}

int GedCommand(Context& context, const std::string& action, Args args) {
  if (action == "list") {
    auto db = context.Company(args.Positional(1, 1)[0]);
    std::vector<qx::NotificacaoGed> notes;
    Check(qx::LeNotificacoesGed(*db, &notes), db->message());
    for (const qx::NotificacaoGed& n : notes) {
      std::string line = std::to_string(n.id) + "\t" + std::string(1, n.operacao) + "\t" +
                         std::to_string(n.chave) + "\t" + std::to_string(n.sessao) + "\t" +
                         std::to_string(n.usuario);
      if (n.operacao == 'A') {
        line += "\tnew " + Document(n.descricaoNova, n.filialNova, n.dataNova, n.documentoNovo) +
                "\told " +
                Document(n.descricaoAntiga, n.filialAntiga, n.dataAntiga, n.documentoAntigo);
      }
      PrintLine(line);
    }
    return 0;
  }
  if (action == "lock" || action == "unlock") {
    const std::vector<std::string> words = args.Positional(2, 2);
    const auto key = static_cast<int32_t>(Number(words[1], INT32_MIN, INT32_MAX, "the entry key"));
    auto db = context.Company(words[0]);
    Check(qx::DefineDocumentoBloqueado(*db, key, action == "lock"), db->message());
    return 0;
  }
  Usage("unknown action ged " + action);
}

}  // namespace qxadmin
