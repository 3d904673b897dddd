// The identity (company, user, session) attached to every profiler and error
// record, and the initialisation record that a client hands to the server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#pragma pack(push, 1)
struct _REG_DF_INICIALIZAPS {
  uint32_t ulUsuario;
  uint32_t ulNumeroSessao;
  uint32_t ulLinhaFonte;
  uint32_t ulFiller;
  uint16_t usVersaoTarvo;
  uint16_t usFiller[3];
  char szEmpresa[48];
  char szAplicativo[48];
  char szModuleName[48];
  char szArquivoFonte[64];
  char szNomeUsuarioDominio[32];
  unsigned char cControle;
  unsigned char cWTS;
  char szFiller[22];
  uint64_t uiCRC;
};
#pragma pack(pop)
static_assert(sizeof(_REG_DF_INICIALIZAPS) == 296);
static_assert(offsetof(_REG_DF_INICIALIZAPS, ulUsuario) == 0);
static_assert(offsetof(_REG_DF_INICIALIZAPS, ulNumeroSessao) == 4);
static_assert(offsetof(_REG_DF_INICIALIZAPS, ulLinhaFonte) == 8);
static_assert(offsetof(_REG_DF_INICIALIZAPS, ulFiller) == 12);
static_assert(offsetof(_REG_DF_INICIALIZAPS, usVersaoTarvo) == 16);
static_assert(offsetof(_REG_DF_INICIALIZAPS, usFiller) == 18);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szEmpresa) == 24);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szAplicativo) == 72);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szModuleName) == 120);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szArquivoFonte) == 168);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szNomeUsuarioDominio) == 232);
static_assert(offsetof(_REG_DF_INICIALIZAPS, cControle) == 264);
static_assert(offsetof(_REG_DF_INICIALIZAPS, cWTS) == 265);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szFiller) == 266);
static_assert(offsetof(_REG_DF_INICIALIZAPS, uiCRC) == 288);

// The identity of the object a record is about.
struct IQXDF_Profiler {
  virtual const char* GetEmpresa() = 0;
  virtual unsigned short GetUsuario() = 0;
  virtual uint32_t GetNumeroSessao() = 0;
  // The identity's initialisation record, or null when it has none.
  virtual const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() = 0;

 protected:
  ~IQXDF_Profiler() = default;
};

// An identity with a fixed company text, user and session.
class CQXProfilerEmpresa : public IQXDF_Profiler {
 public:
  CQXProfilerEmpresa(const char* empresa = "", unsigned short usuario = 0, uint32_t sessao = 0);
  virtual ~CQXProfilerEmpresa() = default;

  const char* GetEmpresa() override;
  unsigned short GetUsuario() override;
  uint32_t GetNumeroSessao() override;
  const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() override;

 private:
  std::string m_empresa;
  unsigned short m_usuario;
  uint32_t m_sessao;
};

namespace qx {

// The version of the suite's client library: the one a client of this build
// sends, and the one the server accepts.
inline constexpr uint16_t kVersaoTarvo = 115;

// The CRC a sound initialisation record carries: the CRC-64 of every byte
// before uiCRC.
uint64_t CrcInicializacao(const _REG_DF_INICIALIZAPS& registro);

// Who a client is, and which program of it speaks, for its initialisation record.
struct IdentidadeCliente {
  std::string_view empresa;
  uint32_t usuario = 0;
  uint32_t sessao = 0;
  std::string_view aplicativo;
  std::string_view modulo;
  std::string_view arquivoFonte;
  uint32_t linhaFonte = 1;
};

// A sound initialisation record for that client: its identity and names (each
// cut to its field, terminator kept), the library version, control 'B' and the CRC.
_REG_DF_INICIALIZAPS RegistroInicializacaoCliente(const IdentidadeCliente& cliente);

// The text of a fixed character field: up to its first zero byte, never beyond
// the field (a client may fill a field to the last byte).
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field, length);
}

}  // namespace qx
