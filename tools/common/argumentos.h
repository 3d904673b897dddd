// The options and words of one subcommand's command line, as the parser left
// them, with typed readings. Every tool reads numbers, amounts, dates and
// months in the same forms: 1.234,56 or 1234.56; 15/03/2026, 15/03/26 or
// 2026-03-15; 03/2026 or 2026-03. A value that does not read throws ErroUso
// naming the option; an ambiguous amount ("10.555", "1.5") names its two
// readings.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/textos.h"
#include "platform/com_types.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::cli {

class Argumentos {
 public:
  Argumentos(const Textos& textos, std::multimap<std::string, std::string> valores,
             std::set<std::string> marcas, std::vector<std::string> palavras)
      : textos_(&textos),
        valores_(std::move(valores)),
        marcas_(std::move(marcas)),
        palavras_(std::move(palavras)) {}

  bool Marca(const std::string& nome) const { return marcas_.count(nome) > 0; }
  // The value given last.
  std::optional<std::string> Valor(const std::string& nome) const;
  // Every value of an option that may repeat, in order.
  std::vector<std::string> Valores(const std::string& nome) const;
  // The words after the subcommand that are no option.
  const std::vector<std::string>& Posicionais() const { return palavras_; }

  std::optional<int64_t> Inteiro(const std::string& nome, int64_t minimo, int64_t maximo) const;
  std::optional<CURRENCY> Montante(const std::string& nome) const;
  std::optional<CQXData> Data(const std::string& nome) const;
  std::optional<CQXMesAno> MesAno(const std::string& nome) const;
  // The same, for an option that must be there.
  std::string Obrigatorio(const std::string& nome) const;
  int64_t InteiroObrigatorio(const std::string& nome, int64_t minimo, int64_t maximo) const;
  CQXMesAno MesAnoObrigatorio(const std::string& nome) const;

  // Typed readings of one text; `nome` names it in the usage error.
  int64_t LeInteiro(const std::string& texto, const std::string& nome, int64_t minimo,
                    int64_t maximo) const;
  CURRENCY LeValor(const std::string& texto, const std::string& nome) const;
  CQXData LeData(const std::string& texto, const std::string& nome) const;
  CQXMesAno LeMesAno(const std::string& texto, const std::string& nome) const;

 private:
  const Textos* textos_;
  std::multimap<std::string, std::string> valores_;
  std::set<std::string> marcas_;
  std::vector<std::string> palavras_;
};

}  // namespace qx::cli
