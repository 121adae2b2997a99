#include "rules/Settings.h"

GameSettings gameSettings;

std::string levelFileName = "level2.txt";
double energy = 0.0;
bool levelSolved = false;
bool gameOver = false;
Matrix viewMatrix = Matrix::identity();
Matrix startViewMatrix = Matrix::identity();
Matrix inverseViewMatrix = Matrix::identity();
unsigned int shaderProgram = 0;
bool reinitialising = false;

Camera* camera = nullptr;
std::vector<Renderable*> sceneObjects;
std::vector<TransparentObject*> transparentDrawList;

bool pickRequested = false;
bool doubleClicked = false;
bool warpPending = false;
int clickX = 0, clickY = 0;
int pickX = 0, pickY = 0;
bool placementBlocked = false;
bool introductionOpen = false;
bool menuOpen = false;
bool editorOpen = false;
bool leftPressOnInterface = false, rightPressOnInterface = false;
