// The byte heaps: complement texts (CNLH) and note texts (CNNTEXCP), listed
// text by text with their offsets and the records that name them.
#pragma once

#include "dump_context.h"

namespace qx::dump {

void DumpComplements(DumpContext& context);
void DumpNoteTexts(DumpContext& context);

}  // namespace qx::dump
