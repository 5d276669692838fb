#include "model/model.h"

namespace ws {

Paths Paths::FromBase(std::string base) {
  if (!base.empty() && base.back() != '/') base.push_back('/');
  Paths p;
  p.base = base;
  p.preferences = base + "Preferences";
  p.working = base + "temp";
  p.backup = base + "backup";
  return p;
}

Model::Model(Runtime& rt_) : rt(rt_), resources(rt_), tables(rt_), undo(rt_) {}

}  // namespace ws
