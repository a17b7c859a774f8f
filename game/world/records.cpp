#include "game/world/records.h"

#include "common/text.h"

namespace world {

WorldRecords records;

std::size_t ObjRefCollection::NameHash::operator()(std::string_view name) const {
    // FNV-1a over the lower-cased bytes.
    std::size_t hash = 1469598103934665603ull;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(common::LowerAscii(c))) * 1099511628211ull;
    }
    return hash;
}

bool ObjRefCollection::NameEqual::operator()(std::string_view a, std::string_view b) const {
    return common::EqualsIgnoringCase(a, b);
}

bool ObjRefCollection::Add(const cObjRef& kind) {
    const auto [it, added] = index_.emplace(kind.name, kinds_.size());
    if (!added) {
        return false;
    }
    kinds_.push_back(kind);
    return true;
}

const cObjRef* ObjRefCollection::Find(std::string_view name) const {
    const auto it = index_.find(name);
    return it == index_.end() ? nullptr : &kinds_[it->second];
}

void ObjRefCollection::Clear() {
    kinds_.clear();
    index_.clear();
}

void ClearWorld() {
    records.colObjRefs.Clear();
    records.colObjects.clear();
}

}  // namespace world
