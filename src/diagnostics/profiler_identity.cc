#include "diagnostics/profiler_identity.h"

CQXProfilerEmpresa::CQXProfilerEmpresa(const char* empresa, unsigned short usuario, uint32_t sessao)
    : m_empresa(empresa != nullptr ? empresa : ""), m_usuario(usuario), m_sessao(sessao) {}

const char* CQXProfilerEmpresa::GetEmpresa() { return m_empresa.c_str(); }

unsigned short CQXProfilerEmpresa::GetUsuario() { return m_usuario; }

uint32_t CQXProfilerEmpresa::GetNumeroSessao() { return m_sessao; }

const _REG_DF_INICIALIZAPS* CQXProfilerEmpresa::GetRegistroInicializacao() { return nullptr; }
