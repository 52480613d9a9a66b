#include "util/variant_compare.h"

namespace {

int Rank(const Variant& v) { return v.IsEmpty() ? 0 : v.IsNull() ? 1 : 2; }

template <class T>
int Order(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int VarCompare(const Variant& a, const Variant& b) {
  if (Rank(a) < 2 || Rank(b) < 2) return Order(Rank(a), Rank(b));
  const KsVarKind ka = a.Kind();
  const KsVarKind kb = b.Kind();
  if (ka == KsVarKind::String && kb == KsVarKind::String) {
    const int c = a.Str().compare(b.Str());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  if (ka == KsVarKind::Boolean || kb == KsVarKind::Boolean)
    return Order(a.ToBoolean() ? 1 : 0, b.ToBoolean() ? 1 : 0);
  if (ka == KsVarKind::Integer && kb == KsVarKind::Integer)
    return Order(a.ToInteger(), b.ToInteger());
  if (ka == KsVarKind::DateTime || kb == KsVarKind::DateTime)
    return Order(a.ToDateTime(), b.ToDateTime());
  return Order(a.ToFloat(), b.ToFloat());
}
