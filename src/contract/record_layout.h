// What a marshaller must know about an interface record beyond its bytes: the
// pointer fields that designate counted blocks, each with the field that holds
// the count and the layout of the elements. Reserved pointers (pFiller) are
// not listed: they travel as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "contract/interface_records.h"

namespace qx {

struct RecordLayout;

struct PointerField {
  uint32_t offset;              // of the pointer in the record
  uint32_t countOffset;         // of the element count (an unsigned 32-bit field)
  const RecordLayout* element;  // layout of one element
};

struct RecordLayout {
  uint32_t size;
  std::span<const PointerField> pointers;
};

// A record without pointer fields: its bytes are all there is.
template <class T>
struct RecordLayoutOf {
  static constexpr RecordLayout kLayout{sizeof(T), {}};
};

// Declares the one counted pointer field of Record.
#define QX_RECORD_WITH_POINTER(Record, pointer, count, Element)                                   \
  template <>                                                                                     \
  struct RecordLayoutOf<Record> {                                                                 \
    static_assert(sizeof(Record::count) == 4);                                                    \
    static constexpr PointerField kPointers[] = {                                                 \
        {offsetof(Record, pointer), offsetof(Record, count), &RecordLayoutOf<Element>::kLayout}}; \
    static constexpr RecordLayout kLayout{sizeof(Record), kPointers};                             \
  }

QX_RECORD_WITH_POINTER(_REG_DF_FUNCAO_GENERICAPS, pListaBytes, ulQtdBytes, uint8_t);
QX_RECORD_WITH_POINTER(CNLAN_EXCLUSAO_MES_IMP_PS, pDocsLan, nQtdDocs, int32_t);
QX_RECORD_WITH_POINTER(CNLAN_EXCLUSAO_IMP_PS, pMeses, nQtdMeses, CNLAN_EXCLUSAO_MES_IMP_PS);
QX_RECORD_WITH_POINTER(CNLAN_RESULTADO_EXCLUSAO_IMP_PS, pErros, nQtdErros,
                       CNLAN_ERRO_EXCLUCAO_IMP_PS);
QX_RECORD_WITH_POINTER(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS, pPonteiros, ulQtde,
                       _REG_LANCAMENTO_TARVOWEB_PS);


// Declares the two counted pointer fields of Record.
#define QX_RECORD_WITH_POINTERS(Record, pointer1, count1, Element1, pointer2, count2, Element2) \
  template <>                                                                                   \
  struct RecordLayoutOf<Record> {                                                               \
    static_assert(sizeof(Record::count1) == 4 && sizeof(Record::count2) == 4);                  \
    static constexpr PointerField kPointers[] = {                                               \
        {offsetof(Record, pointer1), offsetof(Record, count1),                                  \
         &RecordLayoutOf<Element1>::kLayout},                                                   \
        {offsetof(Record, pointer2), offsetof(Record, count2),                                  \
         &RecordLayoutOf<Element2>::kLayout}};                                                  \
    static constexpr RecordLayout kLayout{sizeof(Record), kPointers};                           \
  }

QX_RECORD_WITH_POINTERS(REG_LOTE_LISTA_LANCAMENTOS, pLancamentos, ulQtde, REG_LOTE_LANCAMENTO_LIDO,
                        pTextos, ulTamanhoTextos, uint8_t);
QX_RECORD_WITH_POINTER(REG_LOTE_LISTA_GERENCIAIS, pLinhas, ulQtde, REG_LOTE_GERENCIAL_LIDO);

#undef QX_RECORD_WITH_POINTER
#undef QX_RECORD_WITH_POINTERS

}  // namespace qx
