#include "reports/importacao/linha.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "values/br_text.h"
#include "values/qx_data.h"
#include "values/typed_input.h"

namespace qx {
namespace {

constexpr char kLetrasContabeis[] = "ABCDEFGHIX";
constexpr char kLetrasGerenciais[] = "JKLX";
// The delimiters a file may use, in the order they are tried.
constexpr char kDelimitadores[] = ";\t|,:";

// The fields of a line: split at the delimiter, double quotes honoured; false
// for a quote that does not close.
bool Campos(const std::string& texto, char delimitador, std::vector<std::string>* campos) {
  std::string campo;
  bool aspas = false, citado = false;
  // Where the plain run from `i` ends: at a quote, or (outside quotes) at the delimiter.
  const auto fimDoTrecho = [&](size_t i) {
    while (i < texto.size() && texto[i] != '"' && (aspas || texto[i] != delimitador)) ++i;
    return i;
  };
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (aspas) {
      if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') {
        campo += '"';
        ++i;
      } else if (c == '"') {
        aspas = false;
      } else {
        const size_t fim = fimDoTrecho(i);
        campo.append(texto, i, fim - i);
        i = fim - 1;
      }
    } else if (c == '"' && campo.empty() && !citado) {
      aspas = citado = true;
    } else if (c == delimitador) {
      campos->push_back(std::move(campo));
      campo.clear();
      citado = false;
    } else {
      // A quote inside a field is one of its characters.
      const size_t fim = fimDoTrecho(i + 1);
      campo.append(texto, i, fim - i);
      i = fim - 1;
    }
  }
  campos->push_back(std::move(campo));
  return !aspas;
}

std::string SemEspacos(const std::string& texto) {
  const size_t inicio = texto.find_first_not_of(" \t");
  if (inicio == std::string::npos) return "";
  return texto.substr(inicio, texto.find_last_not_of(" \t") - inicio + 1);
}

bool Inteiro(const std::string& texto, int64_t maximo, int64_t* valor) {
  const char* fim = texto.data() + texto.size();
  const auto [parada, erro] = std::from_chars(texto.data(), fim, *valor);
  return !texto.empty() && erro == std::errc() && parada == fim && *valor >= 0 && *valor <= maximo;
}

// Too few fields: says so, and names the delimiter that would give enough.
Apontamento FaltamCampos(const Layout& layout, const std::string& texto, size_t achados) {
  Apontamento motivo{"campos", std::to_string(achados),
                     "o formato pede " + std::to_string(layout.contabil.size())};
  for (const char outro : std::string(kDelimitadores)) {
    std::vector<std::string> campos;
    if (outro == layout.delimitador || !Campos(texto, outro, &campos) ||
        campos.size() < layout.contabil.size()) {
      continue;
    }
    motivo.regra += "; a linha parece separada por " + NomeDelimitador(outro) +
                    " e o formato usa " + NomeDelimitador(layout.delimitador) +
                    " (use --delimitador ou veja qxcn formatos lista)";
    break;
  }
  return motivo;
}

// Reads the field named by `letra` into the entry; false with the reason.
bool Aplica(char letra, const std::string& bruto, LancamentoAGravar* lancamento, RegLan_Ger* ger,
            RegQtd_Ger* qtd, Apontamento* motivo) {
  const std::string campo = SemEspacos(bruto);
  int64_t numero = 0;
  const auto recusa = [&](const char* nome, std::string regra) {
    *motivo = {nome, "\"" + campo + "\"", std::move(regra)};
    return false;
  };
  const auto conta = [&](const char* nome, int64_t maximo) {
    numero = 0;
    return campo.empty() || Inteiro(campo, maximo, &numero) ||
           recusa(nome, "não é um número de 0 a " + std::to_string(maximo));
  };
  const auto valor = [&](const char* nome, CURRENCY* destino) {
    if (const std::optional<CURRENCY> lido = ReadAmount(campo)) {
      *destino = *lido;
      return true;
    }
    if (const std::optional<AmbiguousAmount> leituras = ReadAmbiguousAmount(campo)) {
      return recusa(nome, "ambíguo: " + AmountText(leituras->decimalPoint) +
                              " com ponto decimal ou " + AmountText(leituras->thousandsMark) +
                              " com ponto de milhar (escreva um dos dois)");
    }
    return recusa(nome, "não é um valor (use 1.234,56)");
  };
  RegDados& d = lancamento->dados;
  switch (letra) {
    case 'A':
      if (!conta("documento", INT32_MAX)) return false;
      d.Documento = static_cast<int32_t>(numero);
      return true;
    case 'B':
      if (!conta("filial", UINT16_MAX)) return false;
      if (numero != 0) d.Filial = static_cast<int16_t>(numero);
      return true;
    case 'C': {
      const std::optional<CivilDate> data = ReadCalendarDate(campo);
      if (!data) return recusa("data", "não é uma data (use 15/03/2026)");
      d.DataLancamento = CQXData::Make(data->day, data->month, data->year).Value();
      return true;
    }
    case 'D':
      if (!conta("débito", INT32_MAX)) return false;
      d.Debito = static_cast<int32_t>(numero);
      return true;
    case 'E':
      if (!conta("crédito", INT32_MAX)) return false;
      d.Credito = static_cast<int32_t>(numero);
      return true;
    case 'F':
      return valor("valor", &d.Valor);
    case 'G':
      if (!conta("histórico", UINT16_MAX)) return false;
      d.CodHis = static_cast<int16_t>(numero);
      return true;
    case 'H':
      lancamento->complemento = bruto;
      return true;
    case 'I':
      return campo.empty() || valor("moeda", &d.ValorMoeda);
    case 'J':
      if (!conta("conta gerencial", INT32_MAX)) return false;
      ger->ContaGerencial = static_cast<int32_t>(numero);
      return true;
    case 'K':
      return valor("valor do rateio", &ger->Valor);
    case 'L':
      return campo.empty() || valor("quantidade", &qtd->Quantidade);
  }
  return true;  // 'X'
}

// The words of the letters, in the order of kLetrasContabeis and kLetrasGerenciais.
constexpr const char* kCamposContabeis[] = {
    "documento", "filial",    "data",        "débito",         "crédito",
    "valor",     "histórico", "complemento", "valor em moeda", "(ignorado)"};
constexpr const char* kCamposGerenciais[] = {"conta gerencial", "valor do rateio", "quantidade",
                                             "(ignorado)"};

std::string Palavras(const std::string& letras, const char* todas, const char* const* nomes) {
  std::string texto;
  for (const char letra : letras) {
    const char* achada = std::strchr(todas, letra);
    if (achada == nullptr || letra == '\0') continue;
    texto += (texto.empty() ? "" : ", ") + std::string(nomes[achada - todas]);
  }
  return texto;
}

// The line's fields at the delimiter hold the layout's and a date in its place.
bool Cabe(const Layout& layout, const std::string& texto, char delimitador) {
  std::vector<std::string> campos;
  if (!Campos(texto, delimitador, &campos) || campos.size() < layout.contabil.size()) return false;
  const size_t data = layout.contabil.find('C');
  return data == std::string::npos || ReadCalendarDate(SemEspacos(campos[data])).has_value();
}

}  // namespace

std::string DescreveCampos(const Layout& layout) {
  std::string texto = Palavras(layout.contabil, kLetrasContabeis, kCamposContabeis);
  if (!layout.gerencial.empty()) {
    texto += "; por linha de rateio: " +
             Palavras(layout.gerencial, kLetrasGerenciais, kCamposGerenciais);
  }
  return texto;
}

bool DelimitadorConhecido(char delimitador) {
  return delimitador != '\0' && std::strchr(kDelimitadores, delimitador) != nullptr;
}

std::string NomeDelimitador(char delimitador) {
  return delimitador == '\t' ? "tab" : std::string("'") + delimitador + "'";
}

std::optional<char> ReconheceDelimitador(const Layout& layout,
                                         const std::vector<std::string>& linhas) {
  // Lines of blank fields say nothing: they are skipped.
  const auto serve = [&](char delimitador) {
    const auto cabe = [&](const std::string& l) { return Cabe(layout, l, delimitador); };
    return std::any_of(linhas.begin(), linhas.end(), cabe) &&
           std::all_of(linhas.begin(), linhas.end(), [&](const std::string& l) {
             return cabe(l) || SoCamposVazios(l, delimitador);
           });
  };
  if (serve(layout.delimitador)) return layout.delimitador;
  for (const char outro : std::string(kDelimitadores)) {
    if (serve(outro)) return outro;
  }
  return std::nullopt;
}

bool SoCamposVazios(const std::string& texto, char delimitador) {
  // Any character but the delimiter, a quote or a blank is some field's:
  // most lines are told at their first.
  const char vazios[] = {delimitador, '"', ' ', '\t', '\0'};
  if (texto.find_first_not_of(vazios) != std::string::npos) return false;
  std::vector<std::string> campos;
  Campos(texto, delimitador, &campos);
  return std::all_of(campos.begin(), campos.end(),
                     [](const std::string& campo) { return SemEspacos(campo).empty(); });
}

bool LayoutValido(const Layout& layout, std::string* motivo) {
  if (layout.contabil.find_first_not_of(kLetrasContabeis) != std::string::npos ||
      layout.gerencial.find_first_not_of(kLetrasGerenciais) != std::string::npos) {
    *motivo = "o formato usa letras desconhecidas (contábeis ABCDEFGHIX, gerenciais JKLX)";
    return false;
  }
  for (const char obrigatoria : std::string("CF")) {
    if (layout.contabil.find(obrigatoria) == std::string::npos) {
      *motivo = std::string("o formato não tem a letra ") + obrigatoria;
      return false;
    }
  }
  return true;
}

bool PareceCabecalho(const Layout& layout, const std::string& texto) {
  std::vector<std::string> campos;
  Campos(texto, layout.delimitador, &campos);
  const size_t data = layout.contabil.find('C');
  return data < campos.size() && campos[data].find_first_of("0123456789") == std::string::npos;
}

bool LeLinha(const Layout& layout, const std::string& texto, uint16_t filialPadrao,
             LancamentoAGravar* lancamento, Apontamento* motivo) {
  *lancamento = LancamentoAGravar{};
  lancamento->dados.Filial = static_cast<int16_t>(filialPadrao);
  std::vector<std::string> campos;
  if (!Campos(texto, layout.delimitador, &campos)) {
    *motivo = {"aspas", "", "abertas e não fechadas"};
    return false;
  }
  if (campos.size() < layout.contabil.size()) {
    *motivo = FaltamCampos(layout, texto, campos.size());
    return false;
  }
  for (size_t i = 0; i < layout.contabil.size(); ++i) {
    if (!Aplica(layout.contabil[i], campos[i], lancamento, nullptr, nullptr, motivo)) return false;
  }
  const size_t resto = campos.size() - layout.contabil.size();
  if (resto > 0 && (layout.gerencial.empty() || resto % layout.gerencial.size() != 0)) {
    *motivo = {"campos gerenciais", std::to_string(resto),
               "não completam linhas de " + std::to_string(layout.gerencial.size())};
    return false;
  }
  for (size_t i = layout.contabil.size(); i < campos.size(); i += layout.gerencial.size()) {
    RegLan_Ger ger{};
    RegQtd_Ger qtd{};
    for (size_t j = 0; j < layout.gerencial.size(); ++j) {
      if (!Aplica(layout.gerencial[j], campos[i + j], lancamento, &ger, &qtd, motivo)) return false;
    }
    lancamento->rateio.push_back(ger);
    lancamento->quantidades.push_back(qtd);
  }
  return true;
}

}  // namespace qx
