#include "graficos.h"

#include <algorithm>

#include "html.h"
#include "values/br_text.h"

namespace qxweb {
namespace {

constexpr int64_t kAltura = 180;  // of the drawing area
constexpr int64_t kMargem = 24;   // below it, for the labels
constexpr int64_t kTopo = 6;      // above it, for the points at the top
constexpr int64_t kLargura = 720;
constexpr int64_t kEsquerda = 96;  // left of the drawing area, for the values' axis
constexpr int kDivisoes = 4;       // of the values' axis

// v scaled from [minimo, maximo] to [0, kAltura], in whole numbers.
int64_t Escala(int64_t v, int64_t minimo, int64_t maximo) {
  if (maximo == minimo) return 0;
  const __int128 deslocado = static_cast<__int128>(v) - minimo;
  return static_cast<int64_t>(deslocado * kAltura / (static_cast<__int128>(maximo) - minimo));
}

std::string Numero(int64_t n) { return std::to_string(n); }

std::string Texto(int64_t x, int64_t y, const std::string& texto,
                  const char* ancora = "middle") {
  return "<text x=\"" + Numero(x) + "\" y=\"" + Numero(y) + "\" text-anchor=\"" + ancora +
         "\">" + Escapa(texto) + "</text>";
}

// An amount in whole units, as the axis reads it: "-1.234".
std::string Inteiro(int64_t v) {
  std::string texto = qx::AmountText(CURRENCY{v / 10000 * 10000});
  return texto.substr(0, texto.size() - 3);
}

// The values' axis left of the drawing area: lines across it from minimo to
// maximo in kDivisoes steps, each with its amount.
std::string Eixo(int64_t minimo, int64_t maximo, int64_t largura) {
  std::string svg;
  for (int k = 0; k <= kDivisoes; ++k) {
    const auto v = static_cast<int64_t>(minimo + (static_cast<__int128>(maximo) - minimo) * k /
                                                     kDivisoes);
    const int64_t y = kAltura - Escala(v, minimo, maximo);
    svg += "<line x1=\"" + Numero(kEsquerda - 4) + "\" x2=\"" + Numero(kEsquerda + largura) +
           "\" y1=\"" + Numero(y) + "\" y2=\"" + Numero(y) + "\" stroke=\"#eee\"/>" +
           Texto(kEsquerda - 6, y + 4, Inteiro(v), "end");
    if (maximo == minimo) break;
  }
  return svg;
}

// The drawing, `largura` wide, with its axis of values from minimo to maximo;
// what is drawn after it goes right of the axis.
std::string Abre(const std::string& titulo, int64_t largura, int64_t minimo, int64_t maximo) {
  const std::string altura = Numero(kTopo + kAltura + kMargem + 4);
  const std::string total = Numero(kEsquerda + largura);
  return "<figure><svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"" + total +
         "\" height=\"" + altura + "\" viewBox=\"0 " + Numero(-kTopo) + " " + total + " " +
         altura + "\"><title>" + Escapa(titulo) + "</title>" + Eixo(minimo, maximo, largura) +
         "<g transform=\"translate(" + Numero(kEsquerda) + ",0)\">";
}

std::string Fecha(const std::string& legenda) {
  return "</g></svg><figcaption>" + legenda + "</figcaption></figure>";
}

}  // namespace

std::string GraficoBarras(const std::string& titulo, const std::vector<std::string>& rotulos,
                          const std::vector<Serie>& series) {
  int64_t maximo = 0;
  for (const Serie& serie : series) {
    for (const CURRENCY& v : serie.valores) maximo = std::max(maximo, v.int64);
  }
  const int64_t grupo = std::max<int64_t>(kLargura / std::max<size_t>(rotulos.size(), 1), 12);
  const int64_t barra = std::max<int64_t>((grupo - 6) / std::max<size_t>(series.size(), 1), 2);
  std::string svg = Abre(titulo, grupo * static_cast<int64_t>(rotulos.size()), 0, maximo);
  for (size_t i = 0; i < rotulos.size(); ++i) {
    const int64_t x0 = grupo * static_cast<int64_t>(i) + 3;
    for (size_t s = 0; s < series.size(); ++s) {
      const CURRENCY v = i < series[s].valores.size() ? series[s].valores[i] : CURRENCY{};
      const int64_t altura = Escala(std::max<int64_t>(v.int64, 0), 0, maximo);
      svg += "<rect x=\"" + Numero(x0 + barra * static_cast<int64_t>(s)) + "\" y=\"" +
             Numero(kAltura - altura) + "\" width=\"" + Numero(barra - 1) + "\" height=\"" +
             Numero(altura) + "\" fill=\"" + Escapa(series[s].cor) + "\"><title>" +
             Escapa(series[s].nome + " " + rotulos[i] + ": " + qx::AmountText(v)) +
             "</title></rect>";
    }
    svg += Texto(x0 + grupo / 2 - 3, kAltura + 16, rotulos[i]);
  }
  std::string legenda;
  for (const Serie& serie : series) {
    legenda += "<span style=\"color:" + Escapa(serie.cor) + "\">■</span> " + Escapa(serie.nome) +
               " ";
  }
  return svg + Fecha(legenda);
}

std::string GraficoLinha(const std::string& titulo, const std::vector<std::string>& rotulos,
                         const std::vector<CURRENCY>& valores) {
  int64_t minimo = 0, maximo = 0;
  for (const CURRENCY& v : valores) {
    minimo = std::min(minimo, v.int64);
    maximo = std::max(maximo, v.int64);
  }
  const int64_t passo = valores.size() > 1
                            ? std::max<int64_t>(kLargura / static_cast<int64_t>(valores.size()), 4)
                            : kLargura;
  const int64_t largura = passo * std::max<int64_t>(static_cast<int64_t>(valores.size()), 1);
  std::string svg = Abre(titulo, largura, minimo, maximo);
  const int64_t zero = kAltura - Escala(0, minimo, maximo);
  svg += "<line x1=\"0\" x2=\"" + Numero(largura) + "\" y1=\"" + Numero(zero) + "\" y2=\"" +
         Numero(zero) + "\" stroke=\"#bbb\"/>";
  std::string pontos;
  for (size_t i = 0; i < valores.size(); ++i) {
    const int64_t x = passo * static_cast<int64_t>(i) + passo / 2;
    const int64_t y = kAltura - Escala(valores[i].int64, minimo, maximo);
    pontos += Numero(x) + "," + Numero(y) + " ";
    svg += "<circle cx=\"" + Numero(x) + "\" cy=\"" + Numero(y) + "\" r=\"2.5\" fill=\"#2a6f97\">" +
           "<title>" + Escapa((i < rotulos.size() ? rotulos[i] + ": " : "") +
                              qx::AmountText(valores[i])) +
           "</title></circle>";
  }
  svg += "<polyline fill=\"none\" stroke=\"#2a6f97\" stroke-width=\"1.5\" points=\"" + pontos +
         "\"/>";
  // About kRotulos dates along the bottom, the first and the last among them.
  constexpr size_t kRotulos = 8;
  const size_t n = std::min(rotulos.size(), valores.size());
  const size_t cada = std::max<size_t>(n / kRotulos, 1);
  for (size_t i = 0; i < n; ++i) {
    if (i + 1 != n && (i % cada != 0 || n - 1 - i < cada)) continue;
    svg += Texto(passo * static_cast<int64_t>(i) + passo / 2, kAltura + 16, rotulos[i]);
  }
  return svg + Fecha(Escapa(titulo));
}

}  // namespace qxweb
