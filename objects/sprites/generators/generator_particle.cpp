#include "objects/sprites/generators/generator_particle.h"

GeneratorParticle::GeneratorParticle(const GeneratorParticle& other)
    : position(other.position), previous(other.previous), channels(other.channels) {
  for (const auto& process : other.processes)
    processes.push_back(process->Clone());
}

GeneratorParticle& GeneratorParticle::operator=(const GeneratorParticle& other) {
  if (this != &other) *this = GeneratorParticle(other);
  return *this;
}

bool GeneratorParticle::RunProcesses(float dt) {
  bool alive = true;
  for (const auto& process : processes)
    alive = process->Process(dt, *this) && alive;
  return alive;
}

void ProcessParticleList(float dt, std::list<GeneratorParticle>& particles) {
  for (auto it = particles.begin(); it != particles.end();)
    it = it->RunProcesses(dt) ? std::next(it) : particles.erase(it);
}
