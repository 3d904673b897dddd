#include "documento.h"

#include <algorithm>

#include "common/json_celula.h"
#include "platform/codepage.h"

namespace qxweb {

void Documento::Mostra(std::string chave, std::string titulo, Tabela tabela, Ligacao ligacao) {
  partes_.push_back({Parte::Tipo::kTabela, std::move(chave), std::move(titulo), std::move(tabela),
                     "", {}, std::move(ligacao)});
}

void Documento::MostraDesenhada(std::string chave, std::string titulo, Tabela tabela,
                                std::string html) {
  partes_.push_back({Parte::Tipo::kTabela, std::move(chave), std::move(titulo), std::move(tabela),
                     std::move(html)});
}

void Documento::Resumo(std::string chave, Tabela linha, std::string texto) {
  partes_.push_back(
      {Parte::Tipo::kResumo, std::move(chave), "", std::move(linha), std::move(texto)});
}

void Documento::Campo(std::string chave, Celula valor) {
  partes_.push_back({Parte::Tipo::kCampo, std::move(chave), "", Tabela({}), "", std::move(valor)});
}

void Documento::Html(std::string html) {
  partes_.push_back({Parte::Tipo::kHtml, "", "", Tabela({}), std::move(html)});
}

void Documento::Contas(char plano, std::shared_ptr<const qx::PlanoDeContas> contas) {
  (plano == 'G' ? gerencial_ : contabil_) = std::move(contas);
}

std::string Documento::NomeDaConta(const Tabela& tabela, const std::string& coluna,
                                   int64_t numero) const {
  constexpr const char* kContabeis[] = {"debito", "credito", "conta", "contrapartida", "contabil"};
  constexpr const char* kGerenciais[] = {"centro", "gerencial"};
  const auto em = [&](const auto& colunas) {
    return std::find(std::begin(colunas), std::end(colunas), coluna) != std::end(colunas);
  };
  const qx::PlanoDeContas* plano =
      em(kContabeis) ? contabil_.get() : em(kGerenciais) ? gerencial_.get() : nullptr;
  const std::vector<std::string>& colunas = tabela.Colunas();
  const auto nomeada = [&](const std::string& nome) {
    return std::find(colunas.begin(), colunas.end(), nome) != colunas.end();
  };
  if (plano == nullptr || nomeada("nome_" + coluna) || (coluna == "conta" && nomeada("nome")) ||
      numero <= 0 || numero > INT32_MAX || !plano->Tem(static_cast<int32_t>(numero))) {
    return "";
  }
  return qx::Cp1252ToUtf8(plano->Busca(static_cast<int32_t>(numero)).nome);
}

nlohmann::ordered_json Documento::Json() const {
  nlohmann::ordered_json objeto = nlohmann::ordered_json::object();
  for (const Parte& parte : partes_) {
    switch (parte.tipo) {
      case Parte::Tipo::kTabela:
        objeto[parte.chave] = qx::cli::LinhasJson(parte.tabela);
        break;
      case Parte::Tipo::kResumo: {
        const nlohmann::ordered_json linhas = qx::cli::LinhasJson(parte.tabela);
        objeto[parte.chave] = linhas.empty() ? nlohmann::ordered_json::object() : linhas[0];
        break;
      }
      case Parte::Tipo::kCampo:
        objeto[parte.chave] = qx::cli::ParaJson(parte.valor);
        break;
      case Parte::Tipo::kHtml:
        break;
    }
  }
  return objeto;
}

const Tabela* Documento::Procura(const std::string& chave) const {
  for (const Parte& parte : partes_) {
    const bool tabela = parte.tipo == Parte::Tipo::kTabela || parte.tipo == Parte::Tipo::kResumo;
    if (tabela && parte.chave == chave) return &parte.tabela;
  }
  return nullptr;
}

}  // namespace qxweb
