#include "app/marker_points.h"

#include <GL/gl.h>

#include "app/star_markers.h"

namespace {

// The viewport for the vertex shader, which places each point in window pixels; and the
// points' size taken from the shader.
class ViewportConstant : public irr::video::IShaderConstantSetCallBack {
public:
    void OnSetConstants(irr::video::IMaterialRendererServices* services, irr::s32 /*userData*/) override {
        GLint box[4] = {0, 0, 1, 1};
        glGetIntegerv(GL_VIEWPORT, box);
        const irr::f32 viewport[4] = {static_cast<irr::f32>(box[0]), static_cast<irr::f32>(box[1]),
                                      static_cast<irr::f32>(box[2]), static_cast<irr::f32>(box[3])};
        services->setVertexShaderConstant("viewport", viewport, 4);  // one uniform for both shaders
        glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    }
};

// Draws the centres of the shapes it was given as points of one material.
class PointNode : public irr::scene::ISceneNode {
public:
    PointNode(irr::scene::ISceneManager* scene, const std::vector<PlacedShape>& placed, irr::s32 material)
        : irr::scene::ISceneNode(scene->getRootSceneNode(), scene, -1) {
        material_.MaterialType = static_cast<irr::video::E_MATERIAL_TYPE>(material);
        material_.Lighting = false;
        material_.Thickness = 255.0f;  // the engine caps the points' size at the material's thickness
        vertices_.reallocate(static_cast<irr::u32>(placed.size()));
        for (const PlacedShape& shape : placed) {
            const float radius = shape.scale.X;
            irr::video::SColor colour = shape.colour;
            colour.setAlpha(markerRadiusLevel(radius));
            vertices_.push_back(irr::video::S3DVertex(shape.centre, irr::core::vector3df(0.0f, 0.0f, 0.0f), colour,
                                                      irr::core::vector2df(0.0f, 0.0f)));
            const irr::core::vector3df reach(radius, radius, radius);
            if (vertices_.size() == 1) box_.reset(shape.centre - reach);
            box_.addInternalPoint(shape.centre - reach);
            box_.addInternalPoint(shape.centre + reach);
        }
    }

    void OnRegisterSceneNode() override {
        if (IsVisible) SceneManager->registerNodeForRendering(this);
        ISceneNode::OnRegisterSceneNode();
    }

    void render() override {
        irr::video::IVideoDriver* driver = SceneManager->getVideoDriver();
        driver->setMaterial(material_);
        driver->setTransform(irr::video::ETS_WORLD, AbsoluteTransformation);
        driver->drawVertexPrimitiveList(vertices_.const_pointer(), vertices_.size(), nullptr, vertices_.size(),
                                        irr::video::EVT_STANDARD, irr::scene::EPT_POINTS, irr::video::EIT_16BIT);
    }

    const irr::core::aabbox3df& getBoundingBox() const override { return box_; }
    irr::u32 getMaterialCount() const override { return 1; }
    irr::video::SMaterial& getMaterial(irr::u32 /*i*/) override { return material_; }

private:
    irr::core::array<irr::video::S3DVertex> vertices_;
    irr::core::aabbox3df box_;
    irr::video::SMaterial material_;
};

}  // namespace

irr::s32 roundPointMaterial(irr::video::IVideoDriver& driver) {
    irr::video::IGPUProgrammingServices* gpu = driver.getGPUProgrammingServices();
    if (gpu == nullptr || !driver.queryFeature(irr::video::EVDF_ARB_GLSL)) return -1;
    // Each marker is the disc of its radius standing across the line of sight to its centre,
    // the outline of a sphere of that radius; off the middle of the view it stretches away from
    // the middle as the sphere would. The point is wide enough for the disc; the pixel shader
    // follows the line of sight through each pixel to the disc's plane and keeps the pixel when
    // it meets the octagon of the disc's radius there (corners across and along; inside when
    // within cos 22.5 degrees of the radius from the centre across each pair of edges).
    const char* vertexShader =
        "uniform vec4 viewport;\n"
        "varying vec3 centre;\n"
        "varying vec3 across;\n"
        "varying vec3 along;\n"
        "varying float size;\n"
        "void main() {\n"
        "    centre = (gl_ModelViewMatrix * gl_Vertex).xyz;\n"
        "    gl_Position = gl_ProjectionMatrix * vec4(centre, 1.0);\n"
        "    vec3 sight = normalize(centre);\n"
        "    vec3 up = abs(sight.y) < 0.9 ? vec3(0.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0);\n"
        "    across = normalize(cross(sight, up));\n"
        "    along = cross(across, sight);\n"
        "    size = pow(10.0, gl_Color.a * 3.0 - 4.0);\n"
        "    float depth = max(gl_Position.w, 1e-6);\n"
        "    float pixels = size * gl_ProjectionMatrix[1][1] * 0.5 * viewport.w * length(centre) / (depth * depth);\n"
        "    gl_PointSize = 2.0 * pixels + 2.0;\n"
        "    gl_FrontColor = gl_Color;\n"
        "}\n";
    const char* pixelShader =
        "uniform vec4 viewport;\n"
        "varying vec3 centre;\n"
        "varying vec3 across;\n"
        "varying vec3 along;\n"
        "varying float size;\n"
        "void main() {\n"
        "    const float c = 0.38268343;\n"
        "    const float apothem = 0.92387953;\n"
        "    vec2 ndc = (gl_FragCoord.xy - viewport.xy) / viewport.zw * 2.0 - 1.0;\n"
        "    vec3 ray = vec3(ndc.x / gl_ProjectionMatrix[0][0], ndc.y / gl_ProjectionMatrix[1][1], 1.0);\n"
        "    vec3 sight = cross(along, across);\n"
        "    vec3 offset = ray * (dot(centre, sight) / dot(ray, sight)) - centre;\n"
        "    vec2 rim = vec2(dot(offset, across), dot(offset, along)) / size;\n"
        "    vec4 edges = abs(vec4(dot(rim, vec2(apothem, c)), dot(rim, vec2(c, apothem)),\n"
        "                          dot(rim, vec2(-c, apothem)), dot(rim, vec2(-apothem, c))));\n"
        "    if (max(max(edges.x, edges.y), max(edges.z, edges.w)) > apothem) discard;\n"
        "    gl_FragColor = vec4(gl_Color.rgb, 1.0);\n"
        "}\n";
    auto* viewport = new ViewportConstant();
    const irr::s32 material =
        gpu->addHighLevelShaderMaterial(vertexShader, "main", irr::video::EVST_VS_1_1, pixelShader, "main",
                                        irr::video::EPST_PS_1_1, viewport, irr::video::EMT_SOLID);
    viewport->drop();  // the material holds it
    return material;
}

void PointMarkers::show(irr::scene::ISceneManager* scene, const std::vector<PlacedShape>& placed, irr::s32 material) {
    reset();
    if (placed.empty()) return;
    node_ = new PointNode(scene, placed, material);
    node_->drop();  // the scene holds it
}

void PointMarkers::reset() {
    if (node_ != nullptr) node_->remove();
    node_ = nullptr;
}
