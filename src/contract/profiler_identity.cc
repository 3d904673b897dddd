#include "contract/profiler_identity.h"

#include <algorithm>
#include <cstring>

#include "values/crc64.h"

CQXProfilerEmpresa::CQXProfilerEmpresa(const char* empresa, unsigned short usuario, uint32_t sessao)
    : m_empresa(empresa != nullptr ? empresa : ""), m_usuario(usuario), m_sessao(sessao) {}

const char* CQXProfilerEmpresa::GetEmpresa() { return m_empresa.c_str(); }

unsigned short CQXProfilerEmpresa::GetUsuario() { return m_usuario; }

uint32_t CQXProfilerEmpresa::GetNumeroSessao() { return m_sessao; }

const _REG_DF_INICIALIZAPS* CQXProfilerEmpresa::GetRegistroInicializacao() { return nullptr; }

namespace qx {
namespace {

template <size_t N>
void CopiaCampo(std::string_view texto, char (&campo)[N]) {
  const size_t tamanho = std::min(texto.size(), N - 1);
  std::memcpy(campo, texto.data(), tamanho);
  campo[tamanho] = '\0';
}

}  // namespace

uint64_t CrcInicializacao(const _REG_DF_INICIALIZAPS& registro) {
  return Crc64Bytes(&registro, offsetof(_REG_DF_INICIALIZAPS, uiCRC));
}

_REG_DF_INICIALIZAPS RegistroInicializacaoCliente(const IdentidadeCliente& cliente) {
  _REG_DF_INICIALIZAPS registro{};
  registro.ulUsuario = cliente.usuario;
  registro.ulNumeroSessao = cliente.sessao;
  registro.ulLinhaFonte = cliente.linhaFonte;
  registro.usVersaoTarvo = kVersaoTarvo;
  CopiaCampo(cliente.empresa, registro.szEmpresa);
  CopiaCampo(cliente.aplicativo, registro.szAplicativo);
  CopiaCampo(cliente.modulo, registro.szModuleName);
  CopiaCampo(cliente.arquivoFonte, registro.szArquivoFonte);
  registro.cControle = 'B';
  registro.uiCRC = CrcInicializacao(registro);
  return registro;
}

}  // namespace qx
