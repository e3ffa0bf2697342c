#pragma once
// Many small shapes drawn as one mesh: a cube's star markers, the centre cube's stalks. One
// draw call and one upload per batch instead of a scene node per star.

#include <utility>
#include <vector>

#include <irrlicht/irrlicht.h>

// A shape as a triangle list around the origin.
struct ShapeTemplate {
    std::vector<irr::video::S3DVertex> vertices;
    std::vector<irr::u16> indices;
};

// The sphere every marker is drawn as: radius 1, 8 segments around and 8 from pole to pole.
ShapeTemplate unitSphere(const irr::scene::IGeometryCreator& creator);
// A box of side 1 centred on the origin.
ShapeTemplate unitBox();
// A disc of radius 1 for the material below: every vertex lies at the centre and carries its
// offset in its normal, and again, unscaled, in its texture coordinates. The disc is an
// octagon cut out of one larger triangle by the material's pixel shader.
ShapeTemplate unitDisc();

// The material that turns such discs to face the camera: each vertex goes to its centre as the
// camera sees it, then by its offset across the line of sight. A disc so turned shows the
// outline of a sphere of its radius (as the sphere's 8 segments draw it), unlit. -1 where
// the driver runs no shaders.
irr::s32 facingDiscMaterial(irr::video::IVideoDriver& driver);

// One copy of the shape, scaled, then moved, in one colour (a disc's offsets are scaled too).
struct PlacedShape {
    irr::core::vector3df centre;
    irr::core::vector3df scale;
    irr::video::SColor colour;
};

// A mesh of every placed shape, split into buffers of at most 1024 points, unlit (each
// vertex shows its colour), of the material given, and marked to be uploaded once. Back faces
// are drawn unless culled; a shape scaled by a negative factor shows its back. The caller owns
// the mesh.
irr::scene::SMesh* batchMesh(const ShapeTemplate& shape, const std::vector<PlacedShape>& placed,
                             irr::video::E_MATERIAL_TYPE material, bool cullBackFaces);

// Meshes shown by one scene node each, moved together. Letting them go removes the nodes and
// frees the meshes with their copies on the graphics card, which the driver would otherwise
// keep for thousands of frames. Each node is culled alone when it lies outside the view.
class MeshNodes {
public:
    MeshNodes() = default;
    MeshNodes(MeshNodes&& other) noexcept { *this = std::move(other); }
    MeshNodes& operator=(MeshNodes&& other) noexcept;
    MeshNodes(const MeshNodes&) = delete;
    MeshNodes& operator=(const MeshNodes&) = delete;
    ~MeshNodes() { reset(); }

    // Shows the meshes (taking them over) at `position`, in place of those shown before.
    void show(irr::scene::ISceneManager* scene, const std::vector<irr::scene::SMesh*>& meshes,
              const irr::core::vector3df& position);
    void moveTo(const irr::core::vector3df& position);
    void reset();
    bool shown() const { return shown_; }

private:
    irr::scene::ISceneManager* scene_ = nullptr;
    std::vector<irr::scene::IMeshSceneNode*> nodes_;
    std::vector<irr::scene::SMesh*> meshes_;
    bool shown_ = false;
};
