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
size_t Largura(std::string_view utf8) {
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
  // Every cell's text, heading first, one after another in one buffer: a
  // table of many rows costs no allocation per cell.
  struct Texto {
    size_t fim;  // in `textos`
    size_t largura;
  };
  std::string textos;
  std::vector<Texto> celulas;
  std::vector<size_t> colunasDaLinha;  // of each row, heading first
  celulas.reserve((linhas_.size() + 1) * n);
  colunasDaLinha.reserve(linhas_.size() + 1);
  std::vector<size_t> larguras(n);
  std::vector<char> direita(n, false);
  const auto guarda = [&](size_t i, size_t inicio, bool ascii) {
    const size_t bytes = textos.size() - inicio;
    const size_t largura = ascii ? bytes : Largura(std::string_view(textos).substr(inicio));
    celulas.push_back({textos.size(), largura});
    larguras[i] = std::max(larguras[i], largura);
  };
  for (size_t i = 0; i < n; ++i) {
    const size_t inicio = textos.size();
    textos += Maiusculas(colunas_[i]);
    guarda(i, inicio, false);
  }
  colunasDaLinha.push_back(n);
  for (const auto& linha : linhas_) {
    const size_t m = std::min(n, linha.size());
    for (size_t i = 0; i < m; ++i) {
      const size_t inicio = textos.size();
      linha[i].AcrescentaParaPessoas(&textos);
      // Only texts may hold more than ASCII.
      guarda(i, inicio, linha[i].tipo() != Celula::Tipo::kTexto);
      direita[i] = direita[i] || linha[i].ADireita();
    }
    colunasDaLinha.push_back(m);
  }
  // Each line written straight into the block: its cells' bytes and the
  // spaces that pad them, then the spaces at its end taken off.
  Blocos blocos(saida);
  size_t c = 0, fimAnterior = 0;
  for (const size_t m : colunasDaLinha) {
    std::string& bloco = blocos.Texto();
    const size_t inicio = bloco.size();
    size_t tamanho = 0;
    for (size_t i = 0, f = fimAnterior; i < m; ++i) {
      const Texto& t = celulas[c + i];
      tamanho += (i > 0 ? 2 : 0) + larguras[i] - t.largura + (t.fim - f);
      f = t.fim;
    }
    bloco.resize(inicio + tamanho);
    char* const comeco = bloco.data() + inicio;
    char* escrito = comeco;
    for (size_t i = 0; i < m; ++i, ++c) {
      const size_t espaco = larguras[i] - celulas[c].largura;
      const size_t bytes = celulas[c].fim - fimAnterior;
      if (i > 0) escrito = std::fill_n(escrito, 2, ' ');
      if (direita[i]) escrito = std::fill_n(escrito, espaco, ' ');
      escrito = std::copy_n(textos.data() + fimAnterior, bytes, escrito);
      if (!direita[i]) escrito = std::fill_n(escrito, espaco, ' ');
      fimAnterior = celulas[c].fim;
    }
    while (escrito != comeco && escrito[-1] == ' ') --escrito;
    bloco.resize(inicio + static_cast<size_t>(escrito - comeco));
    blocos.FimDeLinha("\n");
  }
}

std::string Tabela::Csv(FormaCsv forma) const {
  std::string csv;
  JuntaLinhaCsv(std::vector<Celula>(colunas_.begin(), colunas_.end()), colunas_.size(), forma,
                &csv);
  for (const auto& linha : linhas_) JuntaLinhaCsv(linha, colunas_.size(), forma, &csv);
  return csv;
}

}  // namespace qx::cli
