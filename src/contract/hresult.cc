#include "contract/hresult.h"

bool IgnoredCodeList(HRESULT hr, const HRESULT* list) {
  if (list == nullptr) return false;
  for (; *list != kFimListaCodigos; ++list) {
    if (*list == hr) return true;
  }
  return false;
}
