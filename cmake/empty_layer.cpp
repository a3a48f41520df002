// Placeholder translation unit for a layer whose folder holds no sources yet.
namespace quill::detail { [[maybe_unused]] static int empty_layer_anchor = 0; }
