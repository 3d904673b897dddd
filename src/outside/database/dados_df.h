// The data objects that the company access fills: a user's active branches,
// the company's properties and the company's system types.
#pragma once

#include <cstdint>
#include <set>
#include <string>

// The branches in which one user may work. An object that was never filled
// holds no branch.
class CQXDadosDF_FiliaisAtivas {
 public:
  // Non-zero when the branch is active for the user.
  int EhFilialAtiva(int32_t filial) const { return m_filiais.count(filial) != 0 ? 1 : 0; }
  unsigned short GetUsuario() const { return m_usuario; }

  void Define(unsigned short usuario, std::set<int32_t> filiais) {
    m_usuario = usuario;
    m_filiais = std::move(filiais);
  }

 private:
  unsigned short m_usuario = 0;
  std::set<int32_t> m_filiais;
};

// The company's properties. Texts are Windows-1252.
class CQXDadosDF_Propriedades {
 public:
  const std::string& GetCodigo() const { return m_codigo; }
  const std::string& GetNome() const { return m_nome; }
  // Non-zero when the company keeps managerial quantities.
  int GetUsaQuantidadeGerencial() const { return m_usaQuantidadeGerencial ? 1 : 0; }

  void Define(std::string codigo, std::string nome, bool usaQuantidadeGerencial) {
    m_codigo = std::move(codigo);
    m_nome = std::move(nome);
    m_usaQuantidadeGerencial = usaQuantidadeGerencial;
  }

 private:
  std::string m_codigo;
  std::string m_nome;
  bool m_usaQuantidadeGerencial = false;
};

// The suite's systems that the company uses, by their abbreviations ("CN",
// "GED", ...).
inline constexpr char kSistemaGED[] = "GED";

class CQXDadosDF_TiposSistemas {
 public:
  // Non-zero when the company uses document management.
  int GetPossuiTarvoGED() const { return PossuiSistema(kSistemaGED) ? 1 : 0; }
  bool PossuiSistema(const std::string& sigla) const { return m_siglas.count(sigla) != 0; }

  void Define(std::set<std::string> siglas) { m_siglas = std::move(siglas); }

 private:
  std::set<std::string> m_siglas;
};
