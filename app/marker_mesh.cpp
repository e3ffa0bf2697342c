#include "app/marker_mesh.h"

#include <algorithm>
#include <utility>

ShapeTemplate unitSphere(const irr::scene::IGeometryCreator& creator) {
    ShapeTemplate shape;
    irr::scene::IMesh* mesh = creator.createSphereMesh(1.0f, 8, 8);
    if (mesh == nullptr) return shape;
    if (mesh->getMeshBufferCount() > 0) {
        const irr::scene::IMeshBuffer* buffer = mesh->getMeshBuffer(0);
        const auto* vertices = static_cast<const irr::video::S3DVertex*>(buffer->getVertices());
        shape.vertices.assign(vertices, vertices + buffer->getVertexCount());
        shape.indices.assign(buffer->getIndices(), buffer->getIndices() + buffer->getIndexCount());
    }
    mesh->drop();
    return shape;
}

ShapeTemplate unitBox() {
    ShapeTemplate shape;
    for (int corner = 0; corner < 8; ++corner) {
        const irr::core::vector3df at(corner & 1 ? 0.5f : -0.5f, corner & 2 ? 0.5f : -0.5f, corner & 4 ? 0.5f : -0.5f);
        shape.vertices.emplace_back(at, at, irr::video::SColor(255, 255, 255, 255), irr::core::vector2df(0, 0));
    }
    // Two triangles per face, wound clockwise as seen from outside.
    shape.indices = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                     2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5};
    return shape;
}

namespace {

// The most points a buffer holds. Far below the 65536 that 16-bit indices reach: the software
// renderer shades a draw whose points number at most 1024 in one pass, and one of more points
// piece by piece through a cache, at a much higher cost (measured with llvmpipe).
constexpr std::size_t kBufferVertices = 1024;

irr::scene::SMeshBuffer* newBuffer(irr::scene::SMesh& mesh, irr::video::E_MATERIAL_TYPE material, bool cullBackFaces) {
    auto* buffer = new irr::scene::SMeshBuffer();
    buffer->Material.MaterialType = material;
    buffer->Material.Lighting = false;
    buffer->Material.BackfaceCulling = cullBackFaces;
    mesh.addMeshBuffer(buffer);
    buffer->drop();  // the mesh holds it
    return buffer;
}

}  // namespace

irr::scene::SMesh* batchMesh(const ShapeTemplate& shape, const std::vector<PlacedShape>& placed,
                             irr::video::E_MATERIAL_TYPE material, bool cullBackFaces) {
    auto* mesh = new irr::scene::SMesh();
    const std::size_t perShape = shape.vertices.size();
    const std::size_t perBuffer = perShape == 0 ? 0 : kBufferVertices / perShape;
    irr::scene::SMeshBuffer* buffer = nullptr;
    for (std::size_t i = 0; i < placed.size() && perBuffer > 0; ++i) {
        if (i % perBuffer == 0) {
            buffer = newBuffer(*mesh, material, cullBackFaces);
            const std::size_t shapes = std::min(perBuffer, placed.size() - i);
            buffer->Vertices.reallocate(static_cast<irr::u32>(shapes * perShape));
            buffer->Indices.reallocate(static_cast<irr::u32>(shapes * shape.indices.size()));
        }
        const PlacedShape& copy = placed[i];
        const auto first = static_cast<irr::u16>(buffer->Vertices.size());
        for (const irr::video::S3DVertex& vertex : shape.vertices)
            buffer->Vertices.push_back(irr::video::S3DVertex(vertex.Pos * copy.scale + copy.centre,
                                                             vertex.Normal * copy.scale, copy.colour, vertex.TCoords));
        for (const irr::u16 index : shape.indices) buffer->Indices.push_back(static_cast<irr::u16>(first + index));
    }
    for (irr::u32 i = 0; i < mesh->getMeshBufferCount(); ++i) mesh->getMeshBuffer(i)->recalculateBoundingBox();
    mesh->recalculateBoundingBox();
    mesh->setHardwareMappingHint(irr::scene::EHM_STATIC);
    return mesh;
}

MeshNodes& MeshNodes::operator=(MeshNodes&& other) noexcept {
    if (this != &other) {
        reset();
        scene_ = std::exchange(other.scene_, nullptr);
        nodes_ = std::exchange(other.nodes_, {});
        meshes_ = std::exchange(other.meshes_, {});
        shown_ = std::exchange(other.shown_, false);
    }
    return *this;
}

void MeshNodes::show(irr::scene::ISceneManager* scene, const std::vector<irr::scene::SMesh*>& meshes,
                     const irr::core::vector3df& position) {
    reset();
    scene_ = scene;
    meshes_ = meshes;
    for (irr::scene::SMesh* mesh : meshes)
        if (irr::scene::IMeshSceneNode* node = scene->addMeshSceneNode(mesh, nullptr, -1, position))
            nodes_.push_back(node);
    shown_ = true;
}

void MeshNodes::reset() {
    for (irr::scene::SMesh* mesh : meshes_) {
        for (irr::u32 i = 0; i < mesh->getMeshBufferCount(); ++i)
            scene_->getVideoDriver()->removeHardwareBuffer(mesh->getMeshBuffer(i));
        mesh->drop();
    }
    for (irr::scene::IMeshSceneNode* node : nodes_) node->remove();
    meshes_.clear();
    nodes_.clear();
    shown_ = false;
}
