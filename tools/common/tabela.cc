#include "common/tabela.h"

#include <algorithm>

namespace qx::cli {
namespace {

std::string Maiusculas(std::string texto) {
  for (char& c : texto) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return texto;
}

// Characters of a UTF-8 text: every byte but continuation bytes.
size_t Largura(const std::string& utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Lines gathered into blocks of about 64 KiB, each given to the stream in
// one write: a table of many rows costs a few writes, on a terminal too.
class Blocos {
 public:
  explicit Blocos(std::FILE* saida) : saida_(saida) { texto_.reserve(kBloco + 4096); }
  ~Blocos() { Despeja(); }
  Blocos(const Blocos&) = delete;
  Blocos& operator=(const Blocos&) = delete;

  std::string& Texto() { return texto_; }
  void FimDeLinha(const char* fim) {
    texto_ += fim;
    if (texto_.size() >= kBloco) Despeja();
  }

 private:
  static constexpr size_t kBloco = 64 * 1024;
  void Despeja() {
    std::fwrite(texto_.data(), 1, texto_.size(), saida_);
    std::fflush(saida_);
    texto_.clear();
  }
  std::FILE* saida_;
  std::string texto_;
};

void JuntaLinhaCsv(const std::vector<std::string>& campos, std::string* csv) {
  for (size_t i = 0; i < campos.size(); ++i) {
    if (i > 0) *csv += ',';
    *csv += CampoCsv(campos[i]);
  }
  *csv += "\r\n";
}

}  // namespace

std::string CampoCsv(const std::string& texto) {
  if (texto.find_first_of(",\"\r\n") == std::string::npos) return texto;
  std::string campo = "\"";
  for (const char c : texto) {
    if (c == '"') campo += '"';
    campo += c;
  }
  return campo + "\"";
}

void Tabela::EscreveAlinhada(std::FILE* saida) const {
  const size_t n = colunas_.size();
  std::vector<std::vector<std::string>> textos;
  std::vector<size_t> larguras(n);
  std::vector<bool> direita(n, false);
  for (size_t i = 0; i < n; ++i) larguras[i] = Largura(colunas_[i]);
  for (const auto& linha : linhas_) {
    std::vector<std::string>& texto = textos.emplace_back();
    for (size_t i = 0; i < n && i < linha.size(); ++i) {
      texto.push_back(linha[i].ParaPessoas());
      larguras[i] = std::max(larguras[i], Largura(texto.back()));
      direita[i] = direita[i] || linha[i].ADireita();
    }
  }
  Blocos blocos(saida);
  const auto escreve = [&](const std::vector<std::string>& campos) {
    std::string& linha = blocos.Texto();
    const size_t inicio = linha.size();
    for (size_t i = 0; i < campos.size(); ++i) {
      const size_t espaco = larguras[i] - Largura(campos[i]);
      if (i > 0) linha.append(2, ' ');
      if (direita[i]) linha.append(espaco, ' ');
      linha += campos[i];
      if (!direita[i]) linha.append(espaco, ' ');
    }
    const size_t fim = linha.find_last_not_of(' ');
    linha.resize(fim == std::string::npos || fim < inicio ? inicio : fim + 1);
    blocos.FimDeLinha("\n");
  };
  std::vector<std::string> cabecalho;
  for (const std::string& coluna : colunas_) cabecalho.push_back(Maiusculas(coluna));
  escreve(cabecalho);
  for (const auto& texto : textos) escreve(texto);
}

std::string Tabela::Csv() const {
  std::string csv;
  JuntaLinhaCsv(colunas_, &csv);
  std::vector<std::string> campos(colunas_.size());
  for (const auto& linha : linhas_) {
    for (size_t i = 0; i < colunas_.size(); ++i) {
      campos[i] = i < linha.size() ? linha[i].ParaCsv() : "";
    }
    JuntaLinhaCsv(campos, &csv);
  }
  return csv;
}

}  // namespace qx::cli
