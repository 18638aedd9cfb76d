int dummy_render;
