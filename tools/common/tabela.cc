#include "common/tabela.h"

#include <algorithm>
#include <string_view>

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

char Separador(FormaCsv forma) { return forma == FormaCsv::kPlanilha ? ';' : ','; }

// The text quoted when it holds the separator, a quote or a line end.
std::string Aspas(const std::string& texto, FormaCsv forma) {
  const char especiais[] = {Separador(forma), '"', '\r', '\n', '\0'};
  if (texto.find_first_of(especiais) == std::string::npos) return texto;
  std::string campo = "\"";
  for (const char c : texto) {
    if (c == '"') campo += '"';
    campo += c;
  }
  return campo + "\"";
}

std::string Texto(const Celula& celula, FormaCsv forma) {
  if (celula.tipo() == Celula::Tipo::kTexto) {
    const std::string& texto = celula.texto();
    const bool formula = !texto.empty() && std::string_view("=+-@\t\r").find(texto[0]) !=
                                               std::string_view::npos;
    return formula ? "'" + texto : texto;
  }
  return forma == FormaCsv::kPlanilha ? celula.ParaPlanilha() : celula.ParaCsv();
}

void JuntaLinhaCsv(const std::vector<Celula>& celulas, size_t colunas, FormaCsv forma,
                   std::string* csv) {
  for (size_t i = 0; i < colunas; ++i) {
    if (i > 0) *csv += Separador(forma);
    if (i < celulas.size()) *csv += CampoCsv(celulas[i], forma);
  }
  *csv += "\r\n";
}

}  // namespace

const char* InicioCsv(FormaCsv forma) { return forma == FormaCsv::kPlanilha ? "\xEF\xBB\xBF" : ""; }

std::string CampoCsv(const Celula& celula, FormaCsv forma) {
  return Aspas(Texto(celula, forma), forma);
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

std::string Tabela::Csv(FormaCsv forma) const {
  std::string csv;
  JuntaLinhaCsv(std::vector<Celula>(colunas_.begin(), colunas_.end()), colunas_.size(), forma,
                &csv);
  for (const auto& linha : linhas_) JuntaLinhaCsv(linha, colunas_.size(), forma, &csv);
  return csv;
}

}  // namespace qx::cli
