"""Procedural meshes, materials and textures of the demonstration scene."""
