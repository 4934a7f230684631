// The progress bar on standard error, drawn only when that is a terminal: games and
// positions done, positions per second, and, for files, the share of the input done
// and the time left.
import cliProgress from "cli-progress"

// `total`: the input's size in characters, or 0 when unknown (standard input).
export function createProgress({stream = process.stderr, total}) {
  if (!stream.isTTY) return {update() {}, stop() {}}
  const counts = "{games} games, {positions} positions, {rate} positions/s"
  const bar = new cliProgress.SingleBar(
    {
      stream,
      format: total ? `{bar} {percentage}% | ${counts} | {eta_formatted} left` : counts,
      hideCursor: true,
      etaBuffer: 50,
    },
    cliProgress.Presets.shades_classic,
  )
  const began = Date.now()
  bar.start(total || 1, 0, {games: 0, positions: 0, rate: 0})
  return {
    // done: the characters of input behind the games written.
    update({games, positions, done}) {
      const rate = Math.round(positions / Math.max(0.001, (Date.now() - began) / 1000))
      bar.update(total ? done : 0, {games, positions, rate})
    },
    stop: () => bar.stop(),
  }
}
