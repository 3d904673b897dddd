#include "diagnostics/translate.h"

#include <cstdint>
#include <exception>
#include <new>

#include "diagnostics/exceptions.h"
#include "diagnostics/win32_errors.h"
#include "platform/file_exception.h"

namespace {

// Gives the code of an exception thrown by pointer and releases it (a thrown
// null pointer is tolerated).
HRESULT Release(CException* e, HRESULT hr) {
  if (e != nullptr) e->Delete();
  return hr;
}

}  // namespace

HRESULT QXTranslateThrownExceptionToHresult() {
  if (!std::current_exception()) return qx::kHrExcecaoDesconhecida;
  try {
    throw;
  } catch (const _com_error& e) {
    return e.Error();
  } catch (const CQXExceptionEx& e) {
    return e.m_hr;
  } catch (CQXException* e) {
    const uint32_t erro = e != nullptr ? static_cast<uint32_t>(e->m_lErroSistema) : 0;
    return Release(
        e, erro != 0 ? static_cast<HRESULT>(0x80040000u | erro) : qx::kHrQXExceptionSemErro);
  } catch (CFileException* e) {
    const long erro = e != nullptr ? qx::Win32ErrorOf(*e)
                                   : qx::Win32ErrorFromFileCause(CFileException::genericException);
    return Release(e, HRESULT_FROM_WIN32(static_cast<int32_t>(erro)));
  } catch (CMemoryException* e) {
    return Release(e, qx::kHrCMemoryException);
  } catch (CInvalidArgException* e) {
    return Release(e, qx::kHrCInvalidArgException);
  } catch (CException* e) {
    return Release(e, qx::kHrCException);
  } catch (int32_t value) {
    return value;
  } catch (const std::bad_alloc&) {
    return qx::kHrBadAlloc;
  } catch (const std::exception&) {
    return qx::kHrStdException;
  } catch (...) {
    return qx::kHrExcecaoDesconhecida;
  }
}
