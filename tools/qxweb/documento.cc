#include "documento.h"

#include "common/json_celula.h"

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
