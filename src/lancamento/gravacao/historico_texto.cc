#include "lancamento/gravacao/historico_texto.h"

namespace qx {
namespace {

// Blanks and line ends at the end of a text.
std::string_view SemFinalBranco(std::string_view texto) {
  const size_t fim = texto.find_last_not_of(" \t\r\n");
  return fim == std::string_view::npos ? std::string_view() : texto.substr(0, fim + 1);
}

}  // namespace

int ContasDoHistorico(std::string_view historico) {
  int contas = 0;
  if (historico.find(kMarcaContaDebito) != std::string_view::npos) contas |= kHistoricoUsaDebito;
  if (historico.find(kMarcaContaCredito) != std::string_view::npos) contas |= kHistoricoUsaCredito;
  return contas;
}

std::string ComporHistorico(std::string_view historico, std::string_view complemento,
                            std::string_view contaDebito, std::string_view contaCredito) {
  complemento = SemFinalBranco(complemento);
  std::string texto;
  bool complementoColocado = false;
  for (size_t i = 0; i < historico.size();) {
    const std::string_view resto = historico.substr(i);
    if (resto.starts_with(kMarcaComplemento)) {
      texto += complemento;
      complementoColocado = true;
    } else if (resto.starts_with(kMarcaContaDebito)) {
      texto += contaDebito;
    } else if (resto.starts_with(kMarcaContaCredito)) {
      texto += contaCredito;
    } else {
      texto += historico[i++];
      continue;
    }
    i += kMarcaComplemento.size();  // every mark has two characters
  }
  if (!complementoColocado && !complemento.empty()) {
    texto = SemFinalBranco(texto);
    if (!texto.empty()) texto += ' ';
    texto += complemento;
  }
  return std::string(SemFinalBranco(texto));
}

}  // namespace qx
