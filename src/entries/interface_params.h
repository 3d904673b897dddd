// Expansions of the parameters of interface_table.def: as the interface
// declares them, as bare types (definitions that ignore their arguments) and
// as arguments passed on.
#pragma once

#define QX_TYPE_Value(T) T
#define QX_TYPE_Ref(T) T*
#define QX_TYPE_Array(T) T*
#define QX_TYPE_Fixed(T) T*
#define QX_TYPE_Alloc(T) T**

#define QX_PARAM_DECL(Dir, Shape, T, name, count, n) QX_TYPE_##Shape(T) name
#define QX_PARAM_TYPE(Dir, Shape, T, name, count, n) QX_TYPE_##Shape(T)
#define QX_PARAM_ARG(Dir, Shape, T, name, count, n) name
