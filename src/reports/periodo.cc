#include "reports/periodo.h"

namespace qx {

CQXData InicioDosLivros(CQXData inicioExercicio, CQXData de) {
  if (!inicioExercicio.IsEmpty() && inicioExercicio <= de) return inicioExercicio;
  return CQXData::Make(1, 1, de.Year());
}

}  // namespace qx
