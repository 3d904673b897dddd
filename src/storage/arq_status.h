// Status codes of the record files and marks. Every record-file operation
// returns 0 on success or one of these 16-bit codes in an int.
#pragma once

#include "platform/com_types.h"

inline constexpr int ARQ_OK = 0;
inline constexpr int ARQ_NADA_FEITO = 1;
inline constexpr int ARQ_POSICIONAMENTO_INVALIDO = 16012;
inline constexpr int ARQ_FIM_DE_ARQUIVO = 16021;
inline constexpr int ARQ_ERRO_DE_LEITURA_GRAVACAO = 16039;
inline constexpr int ARQ_NAO_ENCONTRADO = 16055;
inline constexpr int ARQ_CAMINHO_INVALIDO = 16063;
inline constexpr int ARQ_MUITOS_ABERTOS = 16071;
inline constexpr int ARQ_ACESSO_NEGADO = 16080;
inline constexpr int ARQ_SOMENTE_LEITURA = 16081;
inline constexpr int ARQ_INVALIDO = 16098;
inline constexpr int ARQ_DIRETORIO_CHEIO = 16101;
inline constexpr int ARQ_EM_USO = 16110;
inline constexpr int ARQ_BLOQUEADO = 16128;
inline constexpr int ARQ_DISCO_CHEIO = 16136;
inline constexpr int ARQ_ERRO_GERAL = 16144;
inline constexpr int ARQ_PARAMETRO_INVALIDO = 16179;

// Write-position rule: low words of the two refusals below.
inline constexpr int ARQ_POSICAO_ALEM_DO_FIM = 2675;
inline constexpr int ARQ_POSICAO_NEGATIVA = 2676;
inline constexpr HRESULT E_QXARQ_POSICAO_ALEM_DO_FIM = static_cast<HRESULT>(0x80040A73u);
inline constexpr HRESULT E_QXARQ_POSICAO_NEGATIVA = static_cast<HRESULT>(0x80040A74u);

// A read far beyond the end of the file, as logged by the buffered file.
inline constexpr HRESULT E_QXARQ_FIM_DE_ARQUIVO = static_cast<HRESULT>(0x80043E95u);

// A mark without a code of its own stays busy, or the object already holds one.
inline constexpr int ARQ_MARCA_INDISPONIVEL = 17396;

// A status carried in the low word of an interface-facility failure.
inline constexpr HRESULT QXHresultDoStatus(int status) {
  return static_cast<HRESULT>(0x80040000u | (static_cast<uint32_t>(status) & 0xFFFFu));
}

// Record sizes the record files accept.
inline constexpr uint32_t ARQ_TAMANHO_REGISTRO_MAXIMO = 65536;
