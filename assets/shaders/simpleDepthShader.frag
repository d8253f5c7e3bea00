#version 430 core
// Shadow pass: no colour output, the fixed pipeline writes the depth.

void main() {}
