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

// v scaled from [minimo, maximo] to [0, kAltura], in whole numbers.
int64_t Escala(int64_t v, int64_t minimo, int64_t maximo) {
  if (maximo == minimo) return 0;
  const __int128 deslocado = static_cast<__int128>(v) - minimo;
  return static_cast<int64_t>(deslocado * kAltura / (static_cast<__int128>(maximo) - minimo));
}

std::string Numero(int64_t n) { return std::to_string(n); }

std::string Abre(const std::string& titulo, int64_t largura) {
  const std::string altura = Numero(kTopo + kAltura + kMargem + 4);
  return "<figure><svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"" +
         Numero(largura) + "\" height=\"" + altura + "\" viewBox=\"0 " + Numero(-kTopo) + " " +
         Numero(largura) + " " + altura + "\"><title>" + Escapa(titulo) + "</title>";
}

std::string Fecha(const std::string& legenda) {
  return "</svg><figcaption>" + legenda + "</figcaption></figure>";
}

std::string Texto(int64_t x, int64_t y, const std::string& texto) {
  return "<text x=\"" + Numero(x) + "\" y=\"" + Numero(y) + "\" text-anchor=\"middle\">" +
         Escapa(texto) + "</text>";
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
  std::string svg = Abre(titulo, grupo * static_cast<int64_t>(rotulos.size()));
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
  std::string svg = Abre(titulo, passo * std::max<int64_t>(static_cast<int64_t>(valores.size()), 1));
  const int64_t zero = kAltura - Escala(0, minimo, maximo);
  svg += "<line x1=\"0\" x2=\"100%\" y1=\"" + Numero(zero) + "\" y2=\"" + Numero(zero) +
         "\" stroke=\"#bbb\"/>";
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
  if (!rotulos.empty()) {
    svg += Texto(passo / 2, kAltura + 16, rotulos.front());
    if (rotulos.size() > 1) {
      svg += Texto(passo * static_cast<int64_t>(valores.size()) - passo / 2, kAltura + 16,
                   rotulos.back());
    }
  }
  return svg + Fecha(Escapa(titulo));
}

}  // namespace qxweb
