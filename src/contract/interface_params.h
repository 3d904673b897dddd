// Expansions of the parameter lists of interface_table.def. A list is
// (tuple, ...) with one tuple (Dir, Shape, T, name, count, n) per parameter:
//   Metodo QX_DECLS params   the parameter list as the interface declares it
//   Metodo QX_TYPES params   the same without names (definitions that ignore
//                            their arguments)
//   Metodo QX_NAMES params   the arguments that pass the parameters on
#pragma once

#define QX_TYPE_Value(T) T
#define QX_TYPE_Ref(T) T*
#define QX_TYPE_Array(T) T*
#define QX_TYPE_Fixed(T) T*
#define QX_TYPE_Alloc(T) T**

#define QX_PARAM_DECL(Dir, Shape, T, name, count, n) QX_TYPE_##Shape(T) name
#define QX_PARAM_TYPE(Dir, Shape, T, name, count, n) QX_TYPE_##Shape(T)
#define QX_PARAM_NAME(Dir, Shape, T, name, count, n) name

// QX_MAP(m, t1, t2, ...) gives m t1, m t2, ... for up to eight tuples.
#define QX_JOIN(a, b) QX_JOIN_(a, b)
#define QX_JOIN_(a, b) a##b
#define QX_COUNT(...) QX_COUNT_(__VA_ARGS__ __VA_OPT__(, ) 8, 7, 6, 5, 4, 3, 2, 1, 0)
#define QX_COUNT_(a1, a2, a3, a4, a5, a6, a7, a8, n, ...) n
#define QX_MAP(m, ...) QX_JOIN(QX_MAP_, QX_COUNT(__VA_ARGS__))(m __VA_OPT__(, ) __VA_ARGS__)
#define QX_MAP_0(m)
#define QX_MAP_1(m, t) m t
#define QX_MAP_2(m, t, ...) m t, QX_MAP_1(m, __VA_ARGS__)
#define QX_MAP_3(m, t, ...) m t, QX_MAP_2(m, __VA_ARGS__)
#define QX_MAP_4(m, t, ...) m t, QX_MAP_3(m, __VA_ARGS__)
#define QX_MAP_5(m, t, ...) m t, QX_MAP_4(m, __VA_ARGS__)
#define QX_MAP_6(m, t, ...) m t, QX_MAP_5(m, __VA_ARGS__)
#define QX_MAP_7(m, t, ...) m t, QX_MAP_6(m, __VA_ARGS__)
#define QX_MAP_8(m, t, ...) m t, QX_MAP_7(m, __VA_ARGS__)

#define QX_DECLS(...) (QX_MAP(QX_PARAM_DECL, __VA_ARGS__))
#define QX_TYPES(...) (QX_MAP(QX_PARAM_TYPE, __VA_ARGS__))
#define QX_NAMES(...) (QX_MAP(QX_PARAM_NAME, __VA_ARGS__))

// The list's elements followed by a comma, or nothing for an empty list.
#define QX_ENDED(...) __VA_ARGS__ __VA_OPT__(, )
