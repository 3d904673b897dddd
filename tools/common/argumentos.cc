#include "common/argumentos.h"

#include <charconv>

#include "common/falhas.h"
#include "values/br_text.h"
#include "values/typed_input.h"

namespace qx::cli {

std::optional<std::string> Argumentos::Valor(const std::string& nome) const {
  const auto range = valores_.equal_range(nome);
  if (range.first == range.second) return std::nullopt;
  return std::prev(range.second)->second;
}

std::vector<std::string> Argumentos::Valores(const std::string& nome) const {
  std::vector<std::string> todos;
  const auto range = valores_.equal_range(nome);
  for (auto it = range.first; it != range.second; ++it) todos.push_back(it->second);
  return todos;
}

std::optional<int64_t> Argumentos::Inteiro(const std::string& nome, int64_t minimo,
                                           int64_t maximo) const {
  const std::optional<std::string> texto = Valor(nome);
  if (!texto) return std::nullopt;
  return LeInteiro(*texto, "--" + nome, minimo, maximo);
}

std::optional<CURRENCY> Argumentos::Montante(const std::string& nome) const {
  const std::optional<std::string> texto = Valor(nome);
  if (!texto) return std::nullopt;
  return LeValor(*texto, "--" + nome);
}

std::optional<CQXData> Argumentos::Data(const std::string& nome) const {
  const std::optional<std::string> texto = Valor(nome);
  if (!texto) return std::nullopt;
  return LeData(*texto, "--" + nome);
}

std::optional<CQXMesAno> Argumentos::MesAno(const std::string& nome) const {
  const std::optional<std::string> texto = Valor(nome);
  if (!texto) return std::nullopt;
  return LeMesAno(*texto, "--" + nome);
}

std::string Argumentos::Obrigatorio(const std::string& nome) const {
  const std::optional<std::string> valor = Valor(nome);
  if (!valor) throw ErroUso{Formata(textos_->faltaOpcao, {nome})};
  return *valor;
}

int64_t Argumentos::InteiroObrigatorio(const std::string& nome, int64_t minimo,
                                       int64_t maximo) const {
  return LeInteiro(Obrigatorio(nome), "--" + nome, minimo, maximo);
}

CQXMesAno Argumentos::MesAnoObrigatorio(const std::string& nome) const {
  return LeMesAno(Obrigatorio(nome), "--" + nome);
}

int64_t Argumentos::LeInteiro(const std::string& texto, const std::string& nome, int64_t minimo,
                              int64_t maximo) const {
  int64_t valor = 0;
  const char* fim = texto.data() + texto.size();
  const auto [parada, erro] = std::from_chars(texto.data(), fim, valor);
  if (texto.empty() || erro != std::errc() || parada != fim || valor < minimo || valor > maximo) {
    throw ErroUso{Formata(textos_->numeroInvalido, {nome, texto}) + " (" + std::to_string(minimo) +
                  ".." + std::to_string(maximo) + ")"};
  }
  return valor;
}

CURRENCY Argumentos::LeValor(const std::string& texto, const std::string& nome) const {
  const std::optional<CURRENCY> valor = ReadAmount(texto);
  if (valor) return *valor;
  if (const std::optional<AmbiguousAmount> leituras = ReadAmbiguousAmount(texto)) {
    throw ErroUso{Formata(textos_->valorAmbiguo, {nome, texto, AmountText(leituras->decimalPoint),
                                                  AmountText(leituras->thousandsMark)})};
  }
  throw ErroUso{Formata(textos_->valorInvalido, {nome, texto})};
}

CQXData Argumentos::LeData(const std::string& texto, const std::string& nome) const {
  const std::optional<CivilDate> data = ReadCalendarDate(texto);
  // 00/00/0000 reads as the empty date, which no one means to type.
  const CQXData dia = data ? CQXData::Make(data->day, data->month, data->year) : CQXData();
  if (dia.IsEmpty()) throw ErroUso{Formata(textos_->dataInvalida, {nome, texto})};
  return dia;
}

CQXMesAno Argumentos::LeMesAno(const std::string& texto, const std::string& nome) const {
  const std::optional<CQXMesAno> mes = ReadMesAno(texto);
  if (!mes) throw ErroUso{Formata(textos_->mesInvalido, {nome, texto})};
  return *mes;
}

}  // namespace qx::cli
