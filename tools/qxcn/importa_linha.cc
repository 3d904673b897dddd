#include "importa_linha.h"

#include <charconv>

#include "platform/codepage.h"
#include "values/qx_data.h"
#include "values/typed_input.h"

namespace qxcn {
namespace {

constexpr char kLetrasContabeis[] = "ABCDEFGHIX";
constexpr char kLetrasGerenciais[] = "JKLX";

// The fields of a line: split at the delimiter, double quotes honoured.
bool Campos(const std::string& texto, char delimitador, std::vector<std::string>* campos,
            std::string* motivo) {
  std::string campo;
  bool aspas = false, citado = false;
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (aspas) {
      if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') {
        campo += '"';
        ++i;
      } else if (c == '"') {
        aspas = false;
      } else {
        campo += c;
      }
    } else if (c == '"' && campo.empty() && !citado) {
      aspas = citado = true;
    } else if (c == delimitador) {
      campos->push_back(campo);
      campo.clear();
      citado = false;
    } else {
      campo += c;
    }
  }
  if (aspas) {
    *motivo = "aspas sem fechamento";
    return false;
  }
  campos->push_back(campo);
  return true;
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

// Reads field `campo` named by `letra` into the line; false with the reason.
bool Aplica(char letra, const std::string& bruto, LinhaImportada* linha, RegLan_Ger* ger,
            RegQtd_Ger* qtd, std::string* motivo) {
  const std::string campo = SemEspacos(bruto);
  int64_t numero = 0;
  const auto conta = [&](const char* nome, int64_t maximo) {
    if (campo.empty()) {
      numero = 0;
      return true;
    }
    if (Inteiro(campo, maximo, &numero)) return true;
    *motivo = std::string(nome) + " inválido: \"" + campo + "\"";
    return false;
  };
  const auto valor = [&](const char* nome, CURRENCY* destino) {
    const std::optional<CURRENCY> lido = qx::ReadAmount(campo);
    if (lido) *destino = *lido;
    else *motivo = std::string(nome) + " inválido: \"" + campo + "\"";
    return lido.has_value();
  };
  RegDados& d = linha->dados;
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
      const std::optional<qx::CivilDate> data = qx::ReadCalendarDate(campo);
      if (!data) {
        *motivo = "data inválida: \"" + campo + "\"";
        return false;
      }
      d.DataLancamento = CQXData::Make(data->day, data->month, data->year).Value();
      return true;
    }
    case 'D':
      if (!conta("conta de débito", INT32_MAX)) return false;
      d.Debito = static_cast<int32_t>(numero);
      return true;
    case 'E':
      if (!conta("conta de crédito", INT32_MAX)) return false;
      d.Credito = static_cast<int32_t>(numero);
      return true;
    case 'F':
      return valor("valor", &d.Valor);
    case 'G':
      if (!conta("histórico", UINT16_MAX)) return false;
      d.CodHis = static_cast<int16_t>(numero);
      return true;
    case 'H':
      linha->complemento = qx::Utf8ToCp1252(bruto);
      return true;
    case 'I':
      return campo.empty() || valor("valor em moeda", &d.ValorMoeda);
    case 'J':
      if (!conta("conta gerencial", INT32_MAX)) return false;
      ger->ContaGerencial = static_cast<int32_t>(numero);
      return true;
    case 'K':
      return valor("valor gerencial", &ger->Valor);
    case 'L':
      return campo.empty() || valor("quantidade", &qtd->Quantidade);
  }
  return true;  // 'X'
}

}  // namespace

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

bool LeLinha(const Layout& layout, const std::string& texto, uint16_t filialPadrao,
             LinhaImportada* linha, std::string* motivo) {
  *linha = LinhaImportada{};
  motivo->clear();
  linha->dados.Filial = static_cast<int16_t>(filialPadrao);
  std::vector<std::string> campos;
  if (!Campos(texto, layout.delimitador, &campos, motivo)) return false;
  if (campos.size() < layout.contabil.size()) {
    *motivo = "faltam campos: " + std::to_string(campos.size()) + " de " +
              std::to_string(layout.contabil.size());
    return false;
  }
  for (size_t i = 0; i < layout.contabil.size(); ++i) {
    if (!Aplica(layout.contabil[i], campos[i], linha, nullptr, nullptr, motivo)) return false;
  }
  const size_t resto = campos.size() - layout.contabil.size();
  if (resto > 0 && (layout.gerencial.empty() || resto % layout.gerencial.size() != 0)) {
    *motivo = "campos gerenciais incompletos";
    return false;
  }
  CURRENCY soma{};
  for (size_t i = layout.contabil.size(); i < campos.size(); i += layout.gerencial.size()) {
    RegLan_Ger ger{};
    RegQtd_Ger qtd{};
    for (size_t j = 0; j < layout.gerencial.size(); ++j) {
      if (!Aplica(layout.gerencial[j], campos[i + j], linha, &ger, &qtd, motivo)) return false;
    }
    ger.ContaContabil = linha->dados.Debito != 0 ? linha->dados.Debito : linha->dados.Credito;
    soma.int64 += ger.Valor.int64;
    linha->rateio.push_back(ger);
    linha->quantidades.push_back(qtd);
  }
  const RegDados& d = linha->dados;
  if (d.Debito == 0 && d.Credito == 0) *motivo = "sem conta de débito nem de crédito";
  else if (d.Valor.int64 <= 0) *motivo = "valor deve ser positivo";
  else if (!linha->rateio.empty() && soma.int64 != d.Valor.int64) {
    *motivo = "o rateio gerencial não soma o valor do lançamento";
  }
  return motivo->empty();
}

}  // namespace qxcn
