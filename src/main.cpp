// Duskvale: a real-time viewer of one night scene.
int main() { return 0; }
