#include "values/registro_pj.h"

#include <algorithm>
#include <utility>

namespace qx {
namespace {

// The check digit of the digits before it: weights from `peso` down to 2,
// then 9 down to 2 again when `ciclo` (the CNPJ's weights).
char DigitoVerificador(std::string_view digitos, int peso, bool ciclo) {
  int soma = 0;
  for (const char d : digitos) {
    soma += (d - '0') * peso;
    peso = peso == 2 && ciclo ? 9 : peso - 1;
  }
  const int resto = soma % 11;
  return static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
}

bool Repetido(std::string_view digitos) {
  return std::all_of(digitos.begin(), digitos.end(), [&](char d) { return d == digitos[0]; });
}

constexpr std::pair<std::string_view, int> kUfs[] = {
    {"RO", 11}, {"AC", 12}, {"AM", 13}, {"RR", 14}, {"PA", 15}, {"AP", 16}, {"TO", 17},
    {"MA", 21}, {"PI", 22}, {"CE", 23}, {"RN", 24}, {"PB", 25}, {"PE", 26}, {"AL", 27},
    {"SE", 28}, {"BA", 29}, {"MG", 31}, {"ES", 32}, {"RJ", 33}, {"SP", 35}, {"PR", 41},
    {"SC", 42}, {"RS", 43}, {"MS", 50}, {"MT", 51}, {"GO", 52}, {"DF", 53},
};

constexpr std::pair<std::string_view, std::string_view> kQualificacoes[] = {
    {"001",
     "Pessoa Jur\xED"
     "dica (e-CNPJ ou e-PJ)"},
    {"203", "Diretor"},
    {"204", "Conselheiro de Administra\xE7\xE3o"},
    {"205", "Administrador"},
    {"206", "Administrador do Grupo"},
    {"207", "Administrador de Sociedade Filiada"},
    {"220", "Administrador Judicial - Pessoa F\xEDsica"},
    {"222",
     "Administrador Judicial - Pessoa Jur\xED"
     "dica - Profissional Respons\xE1vel"},
    {"223", "Administrador Judicial/Gestor"},
    {"226", "Gestor Judicial"},
    {"309", "Procurador"},
    {"312", "Inventariante"},
    {"313", "Liquidante"},
    {"315", "Interventor"},
    {"401", "Titular - Pessoa F\xEDsica - EIRELI"},
    {"801", "Empres\xE1rio"},
    {"900", "Contador/Contabilista"},
    {"940", "Auditor Independente"},
    {"999", "Outros"},
};

}  // namespace

std::string_view QualificacaoAssinante(std::string_view codigo) {
  for (const auto& [chave, descricao] : kQualificacoes) {
    if (chave == codigo) return descricao;
  }
  return {};
}

std::string DigitosDocumento(std::string_view texto) {
  std::string digitos;
  for (const char c : texto) {
    if (c >= '0' && c <= '9') {
      digitos += c;
    } else if (c != '.' && c != '/' && c != '-' && c != ' ') {
      return {};
    }
  }
  return digitos;
}

bool SoDigitos(std::string_view texto) {
  return !texto.empty() &&
         std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool CnpjValido(std::string_view d) {
  return d.size() == 14 && SoDigitos(d) && !Repetido(d) &&
         DigitoVerificador(d.substr(0, 12), 5, true) == d[12] &&
         DigitoVerificador(d.substr(0, 13), 6, true) == d[13];
}

bool CpfValido(std::string_view d) {
  return d.size() == 11 && SoDigitos(d) && !Repetido(d) &&
         DigitoVerificador(d.substr(0, 9), 10, false) == d[9] &&
         DigitoVerificador(d.substr(0, 10), 11, false) == d[10];
}

int CodigoUf(std::string_view uf) {
  for (const auto& [sigla, codigo] : kUfs) {
    if (sigla == uf) return codigo;
  }
  return 0;
}

bool MunicipioDaUf(std::string_view codigo, std::string_view uf) {
  const int estado = CodigoUf(uf);
  return codigo.size() == 7 && SoDigitos(codigo) && estado != 0 &&
         (codigo[0] - '0') * 10 + (codigo[1] - '0') == estado;
}

}  // namespace qx
