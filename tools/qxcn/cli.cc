#include "cli.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "diagnostics/error_names.h"
#include "platform/codepage.h"

#include "values/br_text.h"
#include "values/typed_input.h"

namespace qxcn {
namespace {

bool Contem(const std::vector<std::string>& nomes, const std::string& nome) {
  return std::find(nomes.begin(), nomes.end(), nome) != nomes.end();
}

}  // namespace

std::string DescreveFalha(HRESULT hr) {
  char codigo[16];
  std::snprintf(codigo, sizeof codigo, "0x%08X", static_cast<uint32_t>(hr));
  std::string texto = codigo;
  const std::string nome = qx::SymbolicName(hr);
  if (!nome.empty()) texto += " " + nome;
  const std::string descricao = qx::Cp1252ToUtf8(QXDescricaoHresult(hr));
  if (!descricao.empty()) texto += ": " + descricao;
  return texto;
}

HRESULT Verifica(HRESULT hr, const std::string& contexto) {
  if (FAILED(hr)) throw Falha{hr, contexto};
  return hr;
}

Argumentos::Argumentos(int argc, char** argv, int first, const std::vector<std::string>& valores,
                       const std::vector<std::string>& marcas) {
  for (int i = first; i < argc; ++i) {
    const std::string argumento = argv[i];
    if (argumento.size() < 3 || !argumento.starts_with("--")) {
      posicionais_.push_back(argumento);
      continue;
    }
    const std::string nome = argumento.substr(2);
    if (Contem(marcas, nome)) {
      marcas_[nome] = true;
    } else if (Contem(valores, nome)) {
      if (i + 1 >= argc) throw ErroUso{"falta o valor de " + argumento};
      valores_.emplace(nome, argv[++i]);
    } else {
      throw ErroUso{"opção desconhecida: " + argumento};
    }
  }
}

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

int64_t Argumentos::InteiroObrigatorio(const std::string& nome, int64_t minimo,
                                       int64_t maximo) const {
  const std::optional<int64_t> valor = Inteiro(nome, minimo, maximo);
  if (!valor) throw ErroUso{"falta --" + nome};
  return *valor;
}

CQXMesAno Argumentos::MesAnoObrigatorio(const std::string& nome) const {
  const std::optional<CQXMesAno> valor = MesAno(nome);
  if (!valor) throw ErroUso{"falta --" + nome};
  return *valor;
}

int64_t LeInteiro(const std::string& texto, const std::string& nome, int64_t minimo,
                  int64_t maximo) {
  int64_t valor = 0;
  const char* fim = texto.data() + texto.size();
  const auto [parada, erro] = std::from_chars(texto.data(), fim, valor);
  if (texto.empty() || erro != std::errc() || parada != fim || valor < minimo || valor > maximo) {
    throw ErroUso{nome + ": número inválido: " + texto};
  }
  return valor;
}

CURRENCY LeValor(const std::string& texto, const std::string& nome) {
  const std::optional<CURRENCY> valor = qx::ReadAmount(texto);
  if (!valor) throw ErroUso{nome + ": valor inválido: " + texto + " (use 1.234,56)"};
  return *valor;
}

CQXData LeData(const std::string& texto, const std::string& nome) {
  const std::optional<qx::CivilDate> data = qx::ReadCalendarDate(texto);
  if (!data) throw ErroUso{nome + ": data inválida: " + texto + " (use 15/03/2024)"};
  return CQXData::Make(data->day, data->month, data->year);
}

CQXMesAno LeMesAno(const std::string& texto, const std::string& nome) {
  const std::optional<CQXMesAno> mesAno = qx::ReadMesAno(texto);
  if (!mesAno) throw ErroUso{nome + ": mês inválido: " + texto + " (use 03/2024)"};
  return *mesAno;
}

}  // namespace qxcn
