#include "kestrane_ext/Geometry.h"

#include "kestrane/Messages.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace KestraneExt {

namespace {

template <typename T>
T toStored(float v) {
    if constexpr (std::is_floating_point_v<T>) {
        return static_cast<T>(v);
    } else {
        // Truncation toward zero; out-of-range values saturate instead of
        // being undefined.
        if (std::isnan(v)) return 0;
        const double d = static_cast<double>(v);
        if (d <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
        if (d >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
        return static_cast<T>(d);
    }
}

}  // namespace

// ---- Attribute ------------------------------------------------------------

Geometry::Attribute::Attribute(Geometry* geometry, VertexStream* stream, std::uint8_t* data,
                               int components)
    : geometry_(geometry), stream_(stream), data_(data), components_(components) {}

Geometry::Attribute::~Attribute() { stream_->unlock(); }

std::uint8_t* Geometry::Attribute::vertexPointer(int vertex) const {
    if (vertex < 0 || vertex >= stream_->vertexCount())
        Kestrane::fatal("Kestrane Error", "Geometry attribute access to vertex " +
                                              std::to_string(vertex) + " of " +
                                              std::to_string(stream_->vertexCount()));
    return data_ + static_cast<std::size_t>(vertex) * static_cast<std::size_t>(stream_->stride());
}

template <typename T>
void Geometry::TAttribute<T>::get(int vertex, float out[4]) const {
    const std::uint8_t* p = this->vertexPointer(vertex);
    for (int j = 0; j < this->components_; ++j) {
        T value;
        std::memcpy(&value, p + j * sizeof(T), sizeof(T));
        out[j] = static_cast<float>(value);
    }
}

template <typename T>
void Geometry::TAttribute<T>::set(int vertex, float x, float y, float z, float w) {
    std::uint8_t* p = this->vertexPointer(vertex);
    const float in[4] = {x, y, z, w};
    for (int j = 0; j < this->components_; ++j) {
        const T value = toStored<T>(in[j]);
        std::memcpy(p + j * sizeof(T), &value, sizeof(T));
    }
}

template class Geometry::TAttribute<std::int8_t>;
template class Geometry::TAttribute<std::int16_t>;
template class Geometry::TAttribute<std::int32_t>;
template class Geometry::TAttribute<float>;
template class Geometry::TAttribute<double>;

// ---- Indices --------------------------------------------------------------

Geometry::Indices::Indices(Geometry* geometry, std::uint8_t* data) : geometry_(geometry), data_(data) {}

Geometry::Indices::~Indices() { geometry_->indices()->unlock(); }

int Geometry::Indices::count() const { return geometry_->indices()->indexCount(); }

void Geometry::Indices::check(int i) const {
    if (i < 0 || i >= count())
        Kestrane::fatal("Kestrane Error", "Geometry index access to position " + std::to_string(i) +
                                              " of " + std::to_string(count()));
}

template <typename T>
std::uint32_t Geometry::TIndices<T>::get(int i) const {
    this->check(i);
    T value;
    std::memcpy(&value, this->data_ + static_cast<std::size_t>(i) * sizeof(T), sizeof(T));
    return value;
}

template <typename T>
void Geometry::TIndices<T>::set(int i, std::uint32_t value) {
    this->check(i);
    const T stored = static_cast<T>(value);
    std::memcpy(this->data_ + static_cast<std::size_t>(i) * sizeof(T), &stored, sizeof(T));
}

template class Geometry::TIndices<std::uint8_t>;
template class Geometry::TIndices<std::uint16_t>;
template class Geometry::TIndices<std::uint32_t>;

// ---- Geometry ---------------------------------------------------------------

Geometry::~Geometry() = default;

int Geometry::addStream(std::unique_ptr<VertexStream>&& stream) {
    for (int slot = 0; slot < MaxStreams; ++slot) {
        if (!streams_[slot]) {
            streams_[slot] = std::move(stream);
            return slot;
        }
    }
    return MaxStreams;
}

void Geometry::setStream(int slot, std::unique_ptr<VertexStream> stream) {
    if (slot < 0 || slot >= MaxStreams)
        Kestrane::fatal("Kestrane Error", "Geometry stream slot " + std::to_string(slot) + " outside 0-15");
    streams_[slot] = std::move(stream);
}

void Geometry::bind(int slot, int element, int semantic) {
    bindings_.push_back(StreamBinding{slot, element, semantic});
}

VertexStream* Geometry::stream(int slot) const {
    if (slot < 0 || slot >= MaxStreams) return nullptr;
    return streams_[slot].get();
}

const StreamBinding* Geometry::findBinding(int semantic) const {
    for (const StreamBinding& b : bindings_)
        if (b.semantic == semantic) return &b;
    return nullptr;
}

VertexStream* Geometry::lowestStream() const {
    for (const auto& s : streams_)
        if (s) return s.get();
    return nullptr;
}

void Geometry::draw() {
    for (const StreamBinding& b : bindings_)
        if (VertexStream* s = stream(b.slot)) s->enable(b.element, b.semantic);
    if (indices_) {
        indices_->drawIndexed(primitive_, 0, -1);
    } else if (VertexStream* s = lowestStream()) {
        s->drawArrays(primitive_, 0, -1);
    }
    for (const StreamBinding& b : bindings_)
        if (VertexStream* s = stream(b.slot)) s->disable(b.semantic);
}

std::unique_ptr<Geometry::Attribute> Geometry::createAttribute(int semantic) {
    const StreamBinding* b = findBinding(semantic);
    if (!b) return nullptr;
    VertexStream* s = stream(b->slot);
    if (!s || b->element < 0 || b->element >= s->elementCount()) return nullptr;
    const int type = s->componentType(b->element);
    if (!isComponentType(type)) return nullptr;
    auto* base = static_cast<std::uint8_t*>(s->lock(true, true));
    if (!base) {
        s->unlock();
        return nullptr;
    }
    std::uint8_t* data = base + s->elementOffset(b->element);
    const int components = s->componentCount(b->element);
    switch (type) {
        case ComponentType::Byte: return std::make_unique<TAttribute<std::int8_t>>(this, s, data, components);
        case ComponentType::Short: return std::make_unique<TAttribute<std::int16_t>>(this, s, data, components);
        case ComponentType::Int: return std::make_unique<TAttribute<std::int32_t>>(this, s, data, components);
        case ComponentType::Float: return std::make_unique<TAttribute<float>>(this, s, data, components);
        default: return std::make_unique<TAttribute<double>>(this, s, data, components);
    }
}

std::unique_ptr<Geometry::Indices> Geometry::createIndices() {
    if (!indices_) return nullptr;
    const int type = indices_->indexType();
    if (type < IndexType::UnsignedByte || type > IndexType::UnsignedInt) return nullptr;
    auto* data = static_cast<std::uint8_t*>(indices_->lock(true, true));
    if (!data) {
        indices_->unlock();
        return nullptr;
    }
    switch (type) {
        case IndexType::UnsignedByte: return std::make_unique<TIndices<std::uint8_t>>(this, data);
        case IndexType::UnsignedShort: return std::make_unique<TIndices<std::uint16_t>>(this, data);
        default: return std::make_unique<TIndices<std::uint32_t>>(this, data);
    }
}

}  // namespace KestraneExt
