#include "common/celula.h"

#include <algorithm>
#include <charconv>

#include "platform/codepage.h"
#include "values/br_text.h"

namespace qx::cli {

std::string Celula::ParaPessoas() const {
  switch (tipo_) {
    case Tipo::kLogico:
      return numero_ != 0 ? "S" : "";
    case Tipo::kValor:
      return AmountText(CURRENCY{numero_});
    case Tipo::kData:
      return DateText(CQXData(static_cast<uint32_t>(numero_)));
    case Tipo::kMes:
      return MesAnoText(CQXMesAno(static_cast<uint32_t>(numero_)));
    default:
      return ParaCsv();
  }
}

void Celula::AcrescentaParaPessoas(std::string* texto) const {
  if (tipo_ == Tipo::kTexto) {
    *texto += texto_;
  } else if (tipo_ == Tipo::kNumero) {
    char digitos[24];
    texto->append(digitos, std::to_chars(digitos, digitos + sizeof digitos, numero_).ptr);
  } else if (tipo_ != Tipo::kNada) {
    *texto += ParaPessoas();
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
