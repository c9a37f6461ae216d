// The default report's goals, each as figures measured side by side in one run:
// - converting 20,000 battles: the CPU of engine.tts against the static page it
//   replaced (engine-static-page.tts, kept here), best of three each;
// - the report's size per battle at 2,000 and 20,000 battles;
// - opening in headless Chromium, start to screenshot: 2,000 and 20,000 battles
//   against an empty page, runs interleaved, the fastest of nine each, in wall
//   time and in the CPU time of the browser's processes (which a busy machine
//   does not inflate), and the median of the nine rounds' wall-time ratios;
// - a filter change over 20,000 battles, as the page measures its own redraw;
// - 32,767 battles still convert.
// Run it on a quiet machine, with no tests running:
//   node bench/report/viewer_bench.mjs BIN_DIR WORK_DIR
import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, rmSync, statSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const [bin, work] = process.argv.slice(2);
if (!bin || !work) {
    console.error("usage: node viewer_bench.mjs BIN_DIR WORK_DIR");
    process.exit(2);
}
const chromium = process.env.CHROMIUM ?? "/usr/bin/chromium";
const puppeteer = createRequire(new URL("../../tools/report-check/package.json", import.meta.url))("puppeteer-core");
const staticPage = new URL("engine-static-page.tts", import.meta.url).pathname;

// kvsgen numbers at most 9,999 files a folder: 32,767 battles in four folders.
rmSync(work, { recursive: true, force: true });
const files = [];
for (const [i, count] of [9999, 9999, 9999, 2770].entries()) {
    const folder = join(work, `battles-${i}`);
    execFileSync(join(bin, "kvsgen"), ["--seed", String(11 + i), "--count", String(count), "--out", folder, "--size-target", "2048"]);
    files.push(...readdirSync(folder).sort().map((name) => join(folder, name)));
}

// Converts the first `count` battles with `script`: [cpu seconds, report path].
function convert(script, count, name) {
    const list = join(work, `files-${count}.txt`);
    writeFileSync(list, files.slice(0, count).join("\n"));
    const output = join(work, name);
    const timing = join(work, "time.txt");
    execFileSync("/usr/bin/time", ["-f", "%U %S", "-o", timing, join(bin, "mirudana-cli"), "--home", bin,
        "--script", script, "--output", output, "--files-from", list], { stdio: "ignore" });
    const [user, system] = execFileSync("cat", [timing]).toString().trim().split(" ").map(Number);
    return [user + system, output];
}
const bestOf = (runs, f) => Array.from({ length: runs }, f).sort((a, b) => a[0] - b[0])[0];

const engine = join(bin, "engine.tts");
const [viewerCpu, report20k] = bestOf(3, () => convert(engine, 20000, "report-20000.html"));
const [staticCpu] = bestOf(3, () => convert(staticPage, 20000, "static-20000.html"));
const [, report2k] = convert(engine, 2000, "report-2000.html");
const [allCpu, reportAll] = convert(engine, files.length, "report-all.html");
const kb = (path, count) => statSync(path).size / count / 1024;
console.log(`conversion of 20,000 battles: engine.tts ${viewerCpu.toFixed(2)} s cpu, static page ${staticCpu.toFixed(2)} s cpu: ${(viewerCpu / staticCpu).toFixed(2)} x`);
console.log(`report size: ${kb(report2k, 2000).toFixed(2)} KB a battle at 2,000, ${kb(report20k, 20000).toFixed(2)} KB at 20,000`);
console.log(`${files.length} battles: converted in ${allCpu.toFixed(2)} s cpu, ${(statSync(reportAll).size / 1048576).toFixed(1)} MB`);

// Opening: Chromium from start to a screenshot, as tools/report-check/time-opening does.
const empty = join(work, "empty.html");
writeFileSync(empty, '<!DOCTYPE html><html lang="ja"><head><meta charset="UTF-8"><title>空</title></head><body></body></html>');
function open(path) {
    const profile = mkdtempSync(join(tmpdir(), "viewer-bench-"));
    const timing = join(work, "time.txt");
    execFileSync("/usr/bin/time", ["-f", "%e %U %S", "-o", timing, chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync", `--user-data-dir=${profile}`,
        "--hide-scrollbars", "--window-size=1280,900", `--screenshot=${join(work, "shot.png")}`, pathToFileURL(path).href],
    { stdio: "ignore" });
    rmSync(profile, { recursive: true, force: true });
    const [wall, user, system] = execFileSync("cat", [timing]).toString().trim().split(" ").map(Number);
    return { wall, cpu: user + system };
}
const pages = { empty, "2,000": report2k, "20,000": report20k };
const fastest = Object.fromEntries(Object.keys(pages).map((k) => [k, { wall: Infinity, cpu: Infinity }]));
// Each round's own ratios too: their median is steadier than the fastest openings'
// when the machine's load changes between rounds.
const roundRatios = { "2,000": [], "20,000": [] };
// Nine rounds: on a shared machine of two cores, five often held no quiet one.
for (let round = 0; round < 9; round++) {
    const walls = {};
    for (const [k, path] of Object.entries(pages)) {
        const { wall, cpu } = open(path);
        walls[k] = wall;
        fastest[k] = { wall: Math.min(fastest[k].wall, wall), cpu: Math.min(fastest[k].cpu, cpu) };
    }
    for (const k of Object.keys(roundRatios)) roundRatios[k].push(walls[k] / walls.empty);
}
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
for (const k of ["2,000", "20,000"]) {
    const [page, blank] = [fastest[k], fastest.empty];
    console.log(`opening ${k} battles: ${page.wall.toFixed(2)} s wall, ${page.cpu.toFixed(2)} s cpu; empty page ` +
        `${blank.wall.toFixed(2)} s wall, ${blank.cpu.toFixed(2)} s cpu: ${(page.wall / blank.wall).toFixed(2)} x wall, ` +
        `${(page.cpu / blank.cpu).toFixed(2)} x cpu; median of the rounds' ratios ${median(roundRatios[k]).toFixed(2)} x wall`);
}

// A filter change over 20,000 battles, timed in the page from the control's
// change to the frame after the redraw, so style and layout are in the figure.
const browser = await puppeteer.launch({ executablePath: chromium, headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
        "--disable-component-update", "--disable-sync"] });
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 900 });
await page.goto(pathToFileURL(report20k).href);
// The page made whole (its statistics watched); the selects get their choices when reached.
await page.waitForSelector('#statistics[aria-busy="false"]');
const redraws = [];
for (const [id, option] of [["#f-deck", 1], ["#f-opp", 1], ["#f-master", 2], ["#f-order", 1], ["#f-deck", 0], ["#f-opp", 0], ["#f-master", 0], ["#f-order", 0]]) {
    redraws.push(await page.evaluate(async (id, option) => {
        const control = document.querySelector(id);
        control.focus();
        const began = performance.now();
        control.value = control.options[option].value;
        control.dispatchEvent(new Event("change", { bubbles: true }));
        await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
        return `${id.slice(3)}=${option} ${(performance.now() - began).toFixed(0)}`;
    }, id, option));
}
await browser.close();
console.log(`filter changes over 20,000 battles (ms): ${redraws.join(", ")}`);
