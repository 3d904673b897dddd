// Interface records of filters and searches: the origin filter, the account
// search, the company list and the debit/credit differences. Packed,
// little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "values/currency.h"

#pragma pack(push, 1)

// Selection of entries by batch, origin key, origin month and branch, and one
// flag per origin.
struct REG_FILTRO_LAN {
  int32_t lNumeroLote;
  int32_t lChaveOrigem;
  uint16_t iMesOrigem;
  uint16_t iFilial;
  int32_t bLote;
  int32_t bImportacao;
  int32_t bFinanceiro;
  int32_t bEstoque;
  int32_t bEscritaFiscal;
  int32_t bPatrimonial;
  int32_t bComercial;
  int32_t bCompras_RE;
  int32_t bCompras_CT;
  int32_t bContabilidade;
  int32_t bFolha;
  int32_t bNFCe;
  int32_t bFNCPLan;
  int32_t bFNCPBaixa;
  int32_t bFNCRLan;
  int32_t bFNCRBaixa;
  int32_t bFNTesouraria;
  int32_t bFNCambial;
  int32_t bECF;
  int32_t bConciliacao;
  int32_t bGeradorLancamento;
  int32_t bGerenciador;
  int32_t bConferidos;
  int32_t bNaoConferidos;
  int32_t bIFRS;
  int32_t bCustos;
  int32_t bComercialPedido;
  int32_t bIrpjLalur;
  uint8_t cFiller[4];
};

// One account's entries in a date range.
struct REGLAN_CONTAPS {
  int32_t iConta;
  uint32_t iDataInicial;
  uint32_t iDataFinal;
  uint32_t lFilial;
};

// One company code of the installation.
struct EmpresasLancamento {
  char NomeEmpresa[24];
};

// One running total of one-sided amounts.
struct Reg_Dif {
  CURRENCY Valor;
  uint32_t Data;
  uint16_t Filial;
  uint16_t Usuario;
};

#pragma pack(pop)

static_assert(sizeof(REG_FILTRO_LAN) == 128);
static_assert(offsetof(REG_FILTRO_LAN, lNumeroLote) == 0);
static_assert(offsetof(REG_FILTRO_LAN, lChaveOrigem) == 4);
static_assert(offsetof(REG_FILTRO_LAN, iMesOrigem) == 8);
static_assert(offsetof(REG_FILTRO_LAN, iFilial) == 10);
static_assert(offsetof(REG_FILTRO_LAN, bLote) == 12);
static_assert(offsetof(REG_FILTRO_LAN, bImportacao) == 16);
static_assert(offsetof(REG_FILTRO_LAN, bFinanceiro) == 20);
static_assert(offsetof(REG_FILTRO_LAN, bEstoque) == 24);
static_assert(offsetof(REG_FILTRO_LAN, bEscritaFiscal) == 28);
static_assert(offsetof(REG_FILTRO_LAN, bPatrimonial) == 32);
static_assert(offsetof(REG_FILTRO_LAN, bComercial) == 36);
static_assert(offsetof(REG_FILTRO_LAN, bCompras_RE) == 40);
static_assert(offsetof(REG_FILTRO_LAN, bCompras_CT) == 44);
static_assert(offsetof(REG_FILTRO_LAN, bContabilidade) == 48);
static_assert(offsetof(REG_FILTRO_LAN, bFolha) == 52);
static_assert(offsetof(REG_FILTRO_LAN, bNFCe) == 56);
static_assert(offsetof(REG_FILTRO_LAN, bFNCPLan) == 60);
static_assert(offsetof(REG_FILTRO_LAN, bFNCPBaixa) == 64);
static_assert(offsetof(REG_FILTRO_LAN, bFNCRLan) == 68);
static_assert(offsetof(REG_FILTRO_LAN, bFNCRBaixa) == 72);
static_assert(offsetof(REG_FILTRO_LAN, bFNTesouraria) == 76);
static_assert(offsetof(REG_FILTRO_LAN, bFNCambial) == 80);
static_assert(offsetof(REG_FILTRO_LAN, bECF) == 84);
static_assert(offsetof(REG_FILTRO_LAN, bConciliacao) == 88);
static_assert(offsetof(REG_FILTRO_LAN, bGeradorLancamento) == 92);
static_assert(offsetof(REG_FILTRO_LAN, bGerenciador) == 96);
static_assert(offsetof(REG_FILTRO_LAN, bConferidos) == 100);
static_assert(offsetof(REG_FILTRO_LAN, bNaoConferidos) == 104);
static_assert(offsetof(REG_FILTRO_LAN, bIFRS) == 108);
static_assert(offsetof(REG_FILTRO_LAN, bCustos) == 112);
static_assert(offsetof(REG_FILTRO_LAN, bComercialPedido) == 116);
static_assert(offsetof(REG_FILTRO_LAN, bIrpjLalur) == 120);
static_assert(offsetof(REG_FILTRO_LAN, cFiller) == 124);

static_assert(sizeof(REGLAN_CONTAPS) == 16);
static_assert(offsetof(REGLAN_CONTAPS, iConta) == 0);
static_assert(offsetof(REGLAN_CONTAPS, iDataInicial) == 4);
static_assert(offsetof(REGLAN_CONTAPS, iDataFinal) == 8);
static_assert(offsetof(REGLAN_CONTAPS, lFilial) == 12);

static_assert(sizeof(EmpresasLancamento) == 24);
static_assert(offsetof(EmpresasLancamento, NomeEmpresa) == 0);

static_assert(sizeof(Reg_Dif) == 16);
static_assert(offsetof(Reg_Dif, Valor) == 0);
static_assert(offsetof(Reg_Dif, Data) == 8);
static_assert(offsetof(Reg_Dif, Filial) == 12);
static_assert(offsetof(Reg_Dif, Usuario) == 14);
