#include "common/celula.h"

#include <algorithm>
#include <charconv>

#include "platform/codepage.h"
#include "values/br_text.h"

namespace qx::cli {

std::string Celula::ParaPessoas() const {
  std::string texto;
  AcrescentaParaPessoas(&texto);
  return texto;
}

void Celula::AcrescentaParaPessoas(std::string* texto) const {
  switch (tipo_) {
    case Tipo::kNada:
      return;
    case Tipo::kLogico:
      if (numero_ != 0) *texto += 'S';
      return;
    case Tipo::kNumero: {
      char digitos[24];
      texto->append(digitos, std::to_chars(digitos, digitos + sizeof digitos, numero_).ptr);
      return;
    }
    case Tipo::kValor:
      AppendAmountText(CURRENCY{numero_}, texto);
      return;
    case Tipo::kData:
      AppendDateText(CQXData(static_cast<uint32_t>(numero_)), texto);
      return;
    case Tipo::kMes:
      AppendMesAnoText(CQXMesAno(static_cast<uint32_t>(numero_)), texto);
      return;
    case Tipo::kTexto:
      *texto += texto_;
      return;
  }
}

std::string Celula::ParaCsv() const {
  switch (tipo_) {
    case Tipo::kNada:
      return "";
    case Tipo::kLogico:
      return numero_ != 0 ? "true" : "false";
    case Tipo::kNumero:
      return std::to_string(numero_);
    case Tipo::kValor:
      return AmountPlainText(CURRENCY{numero_});
    case Tipo::kData:
      return CQXData(static_cast<uint32_t>(numero_)).Text(5, '-');
    case Tipo::kMes:
      return CQXMesAno(static_cast<uint32_t>(numero_)).Text(10, '-');
    case Tipo::kTexto:
      break;
  }
  return texto_;
}

std::string Celula::ParaPlanilha() const {
  switch (tipo_) {
    case Tipo::kLogico:
      return numero_ != 0 ? "S" : "N";
    case Tipo::kValor: {
      std::string texto = ParaCsv();
      std::replace(texto.begin(), texto.end(), '.', ',');
      return texto;
    }
    case Tipo::kData:
    case Tipo::kMes:
      return ParaPessoas();
    default:
      return ParaCsv();
  }
}

bool Celula::ADireita() const {
  return tipo_ != Tipo::kNada && tipo_ != Tipo::kLogico && tipo_ != Tipo::kTexto;
}

Celula TextoCp1252(std::string_view bytes) { return Cp1252ToUtf8(bytes); }

}  // namespace qx::cli
