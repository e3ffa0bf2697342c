#include "app/marker_mesh.h"

#include <algorithm>
#include <cmath>
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

ShapeTemplate unitDisc() {
    // One triangle whose inner circle has radius 1: the octagon fits inside it, and the pixel
    // shader leaves out what lies outside the octagon. Three points instead of nine and one
    // triangle instead of eight, for markers that are mostly a few pixels wide.
    ShapeTemplate shape;
    const irr::video::SColor white(255, 255, 255, 255);
    for (int i = 0; i < 3; ++i) {
        const float angle = 2.0f * irr::core::PI * (0.25f + static_cast<float>(i) / 3.0f);
        const irr::core::vector3df offset(2.0f * std::cos(angle), 2.0f * std::sin(angle), 0.0f);
        shape.vertices.emplace_back(irr::core::vector3df(0, 0, 0), offset, white,
                                    irr::core::vector2df(offset.X, offset.Y));
        shape.indices.push_back(static_cast<irr::u16>(i));
    }
    return shape;
}

irr::s32 facingDiscMaterial(irr::video::IVideoDriver& driver) {
    irr::video::IGPUProgrammingServices* gpu = driver.getGPUProgrammingServices();
    if (gpu == nullptr || !driver.queryFeature(irr::video::EVDF_ARB_GLSL)) return -1;
    // The disc stands across the line of sight to its centre, as a sphere's outline does; off
    // the middle of a wide view it then stretches as the sphere would.
    const char* vertexShader =
        "varying vec2 rim;\n"
        "void main() {\n"
        "    vec4 centre = gl_ModelViewMatrix * gl_Vertex;\n"
        "    vec3 sight = normalize(centre.xyz);\n"
        "    vec3 up = abs(sight.y) < 0.9 ? vec3(0.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0);\n"
        "    vec3 across = normalize(cross(sight, up));\n"
        "    vec3 along = cross(across, sight);\n"
        "    vec3 offset = across * gl_Normal.x + along * gl_Normal.y;\n"
        "    gl_Position = gl_ProjectionMatrix * vec4(centre.xyz + offset, centre.w);\n"
        "    gl_FrontColor = gl_Color;\n"
        "    rim = gl_MultiTexCoord0.xy;\n"
        "}\n";
    // The octagon of radius 1 with corners on the axes and the diagonals: a point lies inside
    // when it is within cos(22.5 degrees) of the middle across each pair of opposite edges.
    const char* pixelShader =
        "varying vec2 rim;\n"
        "void main() {\n"
        "    const float c = 0.38268343;\n"
        "    const float apothem = 0.92387953;\n"
        "    vec4 across = abs(vec4(dot(rim, vec2(apothem, c)), dot(rim, vec2(c, apothem)),\n"
        "                           dot(rim, vec2(-c, apothem)), dot(rim, vec2(-apothem, c))));\n"
        "    if (max(max(across.x, across.y), max(across.z, across.w)) > apothem) discard;\n"
        "    gl_FragColor = gl_Color;\n"
        "}\n";
    return gpu->addHighLevelShaderMaterial(vertexShader, "main", irr::video::EVST_VS_1_1, pixelShader, "main",
                                           irr::video::EPST_PS_1_1, nullptr, irr::video::EMT_SOLID);
}

namespace {

// The most points a buffer holds. Far below the 65536 that 16-bit indices reach: the software
// renderer shades a draw whose points number at most 1024 in one pass, and one of more points
// piece by piece through a cache: 6800 points in one buffer took it 1.6 times the work of the
// same points in buffers of 1024 (measured with llvmpipe). Cubes of many stars gain.
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
    float offset = 0.0f;  // the shape's farthest point from its centre, before scaling
    for (const irr::video::S3DVertex& vertex : shape.vertices) offset = std::max(offset, vertex.Normal.getLength());
    float reach = 0.0f;
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
        reach = std::max({reach, offset * std::fabs(copy.scale.X), offset * std::fabs(copy.scale.Y),
                          offset * std::fabs(copy.scale.Z)});
    }
    // A disc's points all lie at its centre: the boxes grow by the largest offset, so that the
    // engine does not leave out a block whose discs reach into the view.
    for (irr::u32 i = 0; i < mesh->getMeshBufferCount(); ++i) {
        irr::scene::IMeshBuffer* part = mesh->getMeshBuffer(i);
        part->recalculateBoundingBox();
        irr::core::aabbox3df box = part->getBoundingBox();
        box.MinEdge -= irr::core::vector3df(reach, reach, reach);
        box.MaxEdge += irr::core::vector3df(reach, reach, reach);
        part->setBoundingBox(box);
    }
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

void MeshNodes::moveTo(const irr::core::vector3df& position) {
    for (irr::scene::IMeshSceneNode* node : nodes_) node->setPosition(position);
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
