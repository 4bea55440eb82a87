// The page's tests: Playwright Test on Debian's Chromium, on a site already
// built by the web-test preset. CTest's web_page entry runs them; by hand:
//   MAZE_WEB_SITE=build-web-test/site MAZE_MAZETOOL=build-test/mazetool \
//   MAZE_DESKTOP_PICTURES=build-test/tests/desktop_pictures \
//   npx playwright test -c tests/web/playwright.config.mjs [--project desktop|phone] [-g NAME]
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {defineConfig} from '@playwright/test';

import {launchOptions} from './chromium.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

export default defineConfig({
  testDir: '.',
  timeout: 90_000,
  expect: {timeout: 20_000},
  workers: 2,
  retries: 0,
  forbidOnly: true,
  reporter: 'list',
  // Traces and screenshots of failed tests only.
  outputDir: process.env.MAZE_WEB_TEST_OUTPUT || path.join(root, 'build-test', 'web-test-results'),
  use: {
    browserName: 'chromium',
    launchOptions: launchOptions(),
    trace: 'retain-on-failure',
    screenshot: 'only-on-failure',
  },
  projects: [
    {
      name: 'desktop',
      testMatch: /(page|view|game|editor|feel|progress|input|help|app)\.test\.mjs/,
      use: {viewport: {width: 1280, height: 800}, deviceScaleFactor: 1},
    },
    {
      name: 'phone',
      testMatch: /(phone|view|game|editor|feel|progress|help)\.test\.mjs/,
      use: {viewport: {width: 390, height: 844}, deviceScaleFactor: 3, isMobile: true, hasTouch: true},
    },
  ],
});
