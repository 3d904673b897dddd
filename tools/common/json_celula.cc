#include "common/json_celula.h"

namespace qx::cli {

nlohmann::ordered_json ParaJson(const Celula& celula) {
  switch (celula.tipo()) {
    case Celula::Tipo::kNada:
      return nullptr;
    case Celula::Tipo::kLogico:
      return celula.numero() != 0;
    case Celula::Tipo::kNumero:
      return celula.numero();
    case Celula::Tipo::kTexto:
      return celula.texto();
    default:
      return celula.ParaCsv();
  }
}

nlohmann::ordered_json LinhasJson(const Tabela& tabela) {
  nlohmann::ordered_json linhas = nlohmann::ordered_json::array();
  const std::vector<std::string>& colunas = tabela.Colunas();
  for (const auto& linha : tabela.Linhas()) {
    nlohmann::ordered_json objeto = nlohmann::ordered_json::object();
    for (size_t i = 0; i < colunas.size() && i < linha.size(); ++i) {
      objeto[colunas[i]] = ParaJson(linha[i]);
    }
    linhas.push_back(std::move(objeto));
  }
  return linhas;
}

nlohmann::ordered_json FalhaJson(const Relato& relato, const std::vector<std::string>& recusas,
                                 const std::string& uso) {
  const auto nuloSeVazio = [](const std::string& texto) {
    return texto.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(texto);
  };
  nlohmann::ordered_json objeto;
  objeto["codigo"] = nuloSeVazio(relato.codigo);
  objeto["simbolo"] = nuloSeVazio(relato.simbolo);
  objeto["mensagem"] = relato.mensagem;
  if (!relato.descricao.empty()) objeto["descricao"] = relato.descricao;
  if (!relato.dica.empty()) objeto["dica"] = relato.dica;
  if (!recusas.empty()) objeto["recusas"] = recusas;
  if (!uso.empty()) objeto["uso"] = uso;
  return objeto;
}

std::string Escreve(const nlohmann::ordered_json& valor) {
  return valor.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace qx::cli
