#pragma once

#include <array>
#include <list>
#include <memory>

#include "platform/math/d3dx_types.h"

struct GeneratorParticle;

// A behaviour of a generator particle: each step it advances one aspect of its particle (life,
// age, a fade, a spin, a flight, a twinkle, a wander) and tells whether the particle may live
// on. A particle owns its processes.
class PProcess {
 public:
  virtual ~PProcess() = default;
  // One step of `dt` seconds; false when the particle is to die.
  virtual bool Process(float dt, GeneratorParticle& particle) = 0;
  // A heap copy with every member (timers and impulses included).
  virtual std::unique_ptr<PProcess> Clone() const = 0;

 protected:
  PProcess() = default;
  PProcess(const PProcess&) = default;
  PProcess& operator=(const PProcess&) = default;
};

// A particle of a generator: its position, the position before the last move, ten float
// channels that the processes and the kinds read and write, and its processes. How it looks is
// read from the channels when the kind writes its quad.
struct GeneratorParticle {
  // The channels' roles (5 to 9 belong to the kinds).
  static constexpr int kLife = 0;     // life fraction, 0 to 1
  static constexpr int kScale = 1;    // multiplies the quad size
  static constexpr int kOpacity = 2;  // multiplies the quad alpha
  static constexpr int kAge = 3;      // seconds
  static constexpr int kAngle = 4;    // radians
  static constexpr int kChannels = 10;
  static constexpr std::array<float, kChannels> kDefaultChannels = {0, 1, 1, 0, 0, 1, 1, 1, 1, 1};

  GeneratorParticle() = default;
  // At `at`: position and previous position both there.
  explicit GeneratorParticle(const D3DXVECTOR3& at) : position(at), previous(at) {}
  // Channels and positions copied, every process cloned in order.
  GeneratorParticle(const GeneratorParticle& other);
  GeneratorParticle& operator=(const GeneratorParticle& other);
  GeneratorParticle(GeneratorParticle&&) = default;
  GeneratorParticle& operator=(GeneratorParticle&&) = default;
  ~GeneratorParticle() = default;

  // Deletes every process.
  void ClearProcesses() { processes.clear(); }
  // The previous position becomes the position.
  void SavePosition() { previous = position; }
  // Runs every process in order with `dt`, all of them even after one has answered false;
  // answers whether all answered true.
  bool RunProcesses(float dt);

  template <class Process, class... Args>
  void AddProcess(Args&&... args) {
    processes.push_back(std::make_unique<Process>(std::forward<Args>(args)...));
  }

  D3DXVECTOR3 position;
  D3DXVECTOR3 previous;
  std::array<float, kChannels> channels = kDefaultChannels;
  std::list<std::unique_ptr<PProcess>> processes;
};

// Every process of every particle runs with `dt`; a particle for which any answered false is
// removed (with its processes), the walk going on with the next. A particle without processes
// is never removed.
void ProcessParticleList(float dt, std::list<GeneratorParticle>& particles);
