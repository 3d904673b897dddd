// One cell of the tables the tools print: nothing, yes/no, a whole number, an
// amount, a date, a month or a text (UTF-8). A cell has three forms: for
// people (1.234,56; 15/03/2026; 03/2026), for CSV (1234.56; 2026-03-15;
// 2026-03) and for JSON (the amount as the exact text "1234.56", dates as
// "2026-03-15", nothing and empty dates as null).
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com_types.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"
#include "values/total.h"

namespace qx::cli {

class Celula {
 public:
  enum class Tipo { kNada, kLogico, kNumero, kValor, kData, kMes, kTexto };

  Celula() = default;
  Celula(bool sim) : tipo_(Tipo::kLogico), numero_(sim) {}
  template <std::integral T>
  requires(!std::same_as<T, bool>) Celula(T numero)
      : tipo_(Tipo::kNumero), numero_(static_cast<int64_t>(numero)) {}
  Celula(CURRENCY montante) : tipo_(Tipo::kValor), numero_(montante.int64) {}
  // A sum that overflowed is nothing.
  Celula(const Total& total) : Celula(total.Estourou() ? Celula() : Celula(total.Valor())) {}
  Celula(CQXData data) : tipo_(data.IsEmpty() ? Tipo::kNada : Tipo::kData), numero_(data.Value()) {}
  Celula(CQXMesAno mes) : tipo_(mes.IsEmpty() ? Tipo::kNada : Tipo::kMes), numero_(mes.Value()) {}
  Celula(std::string utf8) : tipo_(Tipo::kTexto), texto_(std::move(utf8)) {}
  Celula(const char* utf8) : tipo_(Tipo::kTexto), texto_(utf8) {}

  Tipo tipo() const { return tipo_; }
  int64_t numero() const { return numero_; }
  const std::string& texto() const { return texto_; }

  std::string ParaPessoas() const;
  // The same, appended to *texto (without a string of its own).
  void AcrescentaParaPessoas(std::string* texto) const;
  // The form of CSV, and of JSON for amounts, dates and months.
  std::string ParaCsv() const;
  // The form of a spreadsheet set to Brazil: 1234,56; 15/03/2026; 03/2026; S or N.
  std::string ParaPlanilha() const;
  // Numbers, amounts, dates and months line up to the right.
  bool ADireita() const;

 private:
  Tipo tipo_ = Tipo::kNada;
  int64_t numero_ = 0;  // the number, the amount's ten-thousandths, the day or the month
  std::string texto_;
};

// A text cell from Windows-1252 bytes, as the service and the record files keep texts.
Celula TextoCp1252(std::string_view bytes);

}  // namespace qx::cli
