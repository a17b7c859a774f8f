#include "game/world/records.h"

namespace world {

WorldRecords records;

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t ObjRefCollection::NameHash::operator()(std::string_view name) const {
    // FNV-1a over the lower-cased bytes.
    std::size_t hash = 1469598103934665603ull;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ull;
    }
    return hash;
}

bool ObjRefCollection::NameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
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
