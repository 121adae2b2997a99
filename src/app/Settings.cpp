#include "app/Settings.h"

GameSettings gameSettings;

std::string levelFileName = "level2.txt";
double energy = 0.0;
bool levelSolved = false;
bool gameOver = false;
Matrix viewMatrix = Matrix::identity();
Matrix inverseViewMatrix = Matrix::identity();
unsigned int shaderProgram = 0;
bool reinitialising = false;
