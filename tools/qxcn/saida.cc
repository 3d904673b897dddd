#include "saida.h"

#include <cstdio>

#include "platform/codepage.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

std::string Maiusculas(std::string texto) {
  for (char& c : texto) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return texto;
}

// The cell as people read it (UTF-8).
std::string ParaTexto(const Celula& c) {
  switch (c.tipo) {
    case Celula::Tipo::kTexto:
      return qx::Cp1252ToUtf8(c.texto);
    case Celula::Tipo::kNumero:
      return std::to_string(c.numero);
    case Celula::Tipo::kValor:
      return qx::AmountText(CURRENCY{c.numero});
    case Celula::Tipo::kData:
      return qx::DateText(CQXData(static_cast<uint32_t>(c.numero)));
  }
  return "";
}

std::string JsonTexto(const std::string& utf8) {
  std::string saida = "\"";
  for (const unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      saida += '\\';
      saida += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      saida += escape;
    } else {
      saida += static_cast<char>(c);
    }
  }
  return saida + "\"";
}

std::string ParaJson(const Celula& c) {
  switch (c.tipo) {
    case Celula::Tipo::kTexto:
      return JsonTexto(qx::Cp1252ToUtf8(c.texto));
    case Celula::Tipo::kNumero:
      return std::to_string(c.numero);
    case Celula::Tipo::kValor:
      return qx::AmountPlainText(CURRENCY{c.numero});
    case Celula::Tipo::kData: {
      const CQXData d(static_cast<uint32_t>(c.numero));
      return d.IsEmpty() ? "null" : "\"" + d.Text(5, '-') + "\"";
    }
  }
  return "null";
}

// Width of a UTF-8 text in characters.
size_t Largura(const std::string& utf8) {
  size_t largura = 0;
  for (const unsigned char c : utf8) largura += (c & 0xC0) != 0x80;
  return largura;
}

bool ADireita(const Celula& celula) { return celula.tipo != Celula::Tipo::kTexto; }

}  // namespace

void Tabela::MostraTexto() const {
  std::vector<std::vector<std::string>> textos;
  std::vector<size_t> larguras;
  for (const std::string& coluna : colunas_) larguras.push_back(Largura(coluna));
  for (const auto& linha : linhas_) {
    std::vector<std::string>& texto = textos.emplace_back();
    for (size_t i = 0; i < linha.size() && i < colunas_.size(); ++i) {
      texto.push_back(ParaTexto(linha[i]));
      larguras[i] = std::max(larguras[i], Largura(texto.back()));
    }
  }
  const auto escreve = [&](size_t i, const std::string& texto, bool direita) {
    const std::string espaco(larguras[i] - Largura(texto), ' ');
    std::fputs((i > 0 ? "  " : ""), stdout);
    std::fputs((direita ? espaco + texto : i + 1 < colunas_.size() ? texto + espaco : texto).c_str(),
               stdout);
  };
  for (size_t i = 0; i < colunas_.size(); ++i) {
    escreve(i, Maiusculas(colunas_[i]), !linhas_.empty() && ADireita(linhas_[0][i]));
  }
  std::fputc('\n', stdout);
  for (size_t l = 0; l < linhas_.size(); ++l) {
    for (size_t i = 0; i < textos[l].size(); ++i) escreve(i, textos[l][i], ADireita(linhas_[l][i]));
    std::fputc('\n', stdout);
  }
}

std::string Tabela::Json() const {
  std::string json = "[";
  for (size_t l = 0; l < linhas_.size(); ++l) {
    json += l > 0 ? ",\n  {" : "\n  {";
    for (size_t i = 0; i < linhas_[l].size() && i < colunas_.size(); ++i) {
      if (i > 0) json += ", ";
      json += JsonTexto(colunas_[i]) + ": " + ParaJson(linhas_[l][i]);
    }
    json += "}";
  }
  return json + (linhas_.empty() ? "]" : "\n]");
}

void Saida::Mostra(const std::string& chave, const std::string& titulo, const Tabela& tabela) {
  if (json_) {
    partes_.emplace_back(chave, tabela.Json());
    return;
  }
  if (!titulo.empty()) std::printf("%s\n", titulo.c_str());
  tabela.MostraTexto();
}

void Saida::Aviso(const std::string& texto) const {
  if (!json_) std::printf("%s\n", texto.c_str());
}

void Saida::Termina() const {
  if (!json_) return;
  std::string json = "{";
  for (size_t i = 0; i < partes_.size(); ++i) {
    json += (i > 0 ? ",\n" : "\n") + JsonTexto(partes_[i].first) + ": " + partes_[i].second;
  }
  std::printf("%s\n}\n", json.c_str());
}

}  // namespace qxcn
